#include "patch/bps_plan.hpp"

#include <utility>

#include "patch/bps_search.hpp"

namespace qm {

namespace {

// Copies longer than this skip the look one byte ahead; nothing there pays more.
constexpr std::size_t kLongMatch = 4096;
// Of a long copy, the target's indexes keep only the edges: its inside is already
// found where it was copied from.
constexpr std::size_t kIndexedEdge = 16;
// Past this many literal bytes in a row the positions are probed ever more
// sparsely (a match found late is extended back), so that unrelated files do not
// take a lookup at every byte.
constexpr std::size_t kSparseAfter = 256;

// One pass over the target; at each position the best action is weighed against
// the best one byte later (a literal byte may open a much longer copy).
class Planner {
  public:
    Planner(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target)
        : target_(target), finder_(source, target) {}

    std::vector<BpsStep> run() {
        std::size_t i = 0;
        BpsMatch next = finder_.bestAt(0, at_);
        while (i < target_.size()) {
            const BpsMatch best = next;
            const bool inLiteral = at_.literalFrom < i;
            // Ending a literal stretch costs the next one its own action.
            if (best.saving < (inLiteral ? 2 : 1)) {
                i += 1 + (i - at_.literalFrom) / kSparseAfter;
                next = finder_.bestAt(i, at_);
                continue;
            }
            if (best.length < kLongMatch && i + 1 < target_.size()) {
                next = finder_.bestAt(i + 1, at_);
                if (next.saving > best.saving + (inLiteral ? 1 : 2)) {
                    ++i;
                    continue;
                }
            }
            take(best);
            i = best.start + best.length;
            next = finder_.bestAt(i, at_);
        }
        flushLiteral(target_.size());
        return std::move(steps_);
    }

  private:
    void take(const BpsMatch& m) {
        const std::size_t i = m.start;
        flushLiteral(i);
        BpsStep step{m.action, m.length};
        if (m.action == kSourceCopy) {
            step.relative = BpsRelative(m.from, at_.source);
            at_.source = m.from + m.length;
            at_.sourceEnd = i + m.length;
        } else if (m.action == kTargetCopy) {
            step.relative = BpsRelative(m.from, at_.target);
            at_.target = m.from + m.length;
            at_.targetEnd = i + m.length;
        }
        steps_.push_back(step);
        at_.literalFrom = i + m.length;
        if (m.length > 2 * kIndexedEdge) {
            finder_.indexTo(i + kIndexedEdge);
            finder_.skipTo(at_.literalFrom - kIndexedEdge);
        }
    }

    void flushLiteral(std::size_t end) {
        if (at_.literalFrom < end) {
            steps_.push_back({kTargetRead, end - at_.literalFrom});
        }
    }

    std::span<const std::uint8_t> target_;
    BpsCopyFinder finder_;
    BpsCursors at_;
    std::vector<BpsStep> steps_;
};

// Patch bytes of the actions, offsets and carried bytes.
std::uint64_t cost(const std::vector<BpsStep>& steps) {
    std::uint64_t total = 0;
    for (const BpsStep& step : steps) {
        total += BpsActionCost(step.length);
        if (step.action == kTargetRead) {
            total += step.length;
        } else if (step.action != kSourceRead) {
            total += BpsNumberSize(step.relative);
        }
    }
    return total;
}

}  // namespace

std::vector<BpsStep> PlanBpsActions(std::span<const std::uint8_t> source,
                                    std::span<const std::uint8_t> target) {
    std::vector<BpsStep> steps = Planner(source, target).run();
    // Each action chosen saves bytes where it is taken; this bounds the whole
    // for good, so a patch never outgrows the file it makes by more than its frame.
    if (!target.empty() && cost(steps) > BpsActionCost(target.size()) + target.size()) {
        steps = {{kTargetRead, target.size()}};
    }
    return steps;
}

}  // namespace qm
