#include "patch/bps_plan.hpp"

#include <algorithm>
#include <cstring>

#include "patch/match_index.hpp"

namespace qm {

namespace {

// A same-offset stretch this long is taken at once: no copy could save more than
// the byte or two its action costs.
constexpr std::size_t kTakeAtOnce = 64;
// Copies longer than this skip the look one byte ahead; nothing there pays more.
constexpr std::size_t kLongMatch = 4096;
// Of a long copy, the target index keeps only the edges: its inside is already
// found where it was copied from.
constexpr std::size_t kIndexedEdge = 16;
// How far around where the last source copy would continue the encoder looks for
// a match: an edited row in between shifts the rest by its change in length.
constexpr std::size_t kNearby = 64;
// The source is indexed at every eighth position only, which keeps indexing 4 MiB
// within a few milliseconds; a match is then found a few bytes late and extended
// back over the literal bytes before it. Short matches come from kNearby.
constexpr std::size_t kSourceStride = 8;
// Past this many literal bytes in a row the positions are probed ever more
// sparsely (a match found late is extended back), so that unrelated files do not
// take a lookup at every byte.
constexpr std::size_t kSparseAfter = 256;

std::size_t actionCost(std::size_t length) {
    return BpsNumberSize(std::uint64_t{length - 1} << 2);
}

// About how many target bytes differ from the source's at the same offset (in
// whole words of eight), which is how many the target index will be given.
std::size_t differingBytes(std::span<const std::uint8_t> source,
                           std::span<const std::uint8_t> target) {
    const std::size_t common = std::min(source.size(), target.size()) / 8 * 8;
    std::size_t count = target.size() - common;
    for (std::size_t k = 0; k < common; k += 8) {
        if (std::memcmp(source.data() + k, target.data() + k, 8) != 0) {
            count += 8;
        }
    }
    return count;
}

struct Match {
    BpsAction action = kTargetRead;
    std::size_t start = 0;  // in the target
    std::size_t length = 0;
    std::size_t from = 0;
    std::ptrdiff_t saving = 0;  // patch bytes saved against carrying the bytes
};

// One pass over the target; at each position the best action is weighed against
// the best one byte later (a literal byte may open a much longer copy).
class Planner {
  public:
    Planner(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target)
        : source_(source),
          target_(target),
          sourceIndex_(source, source.size() / kSourceStride),
          targetIndex_(target, 2 * differingBytes(source, target)) {
        sourceIndex_.addEvery(kSourceStride);
    }

    std::vector<BpsStep> run() {
        std::size_t i = 0;
        Match next = bestAt(0);
        while (i < target_.size()) {
            const Match best = next;
            const bool inLiteral = literalFrom_ < i;
            // Ending a literal stretch costs the next one its own action.
            if (best.saving < (inLiteral ? 2 : 1)) {
                i += 1 + (i - literalFrom_) / kSparseAfter;
                next = bestAt(i);
                continue;
            }
            if (best.length < kLongMatch && i + 1 < target_.size()) {
                next = bestAt(i + 1);
                if (next.saving > best.saving + (inLiteral ? 1 : 2)) {
                    ++i;
                    continue;
                }
            }
            take(best);
            i = best.start + best.length;
            next = bestAt(i);
        }
        flushLiteral(target_.size());
        return std::move(steps_);
    }

  private:
    Match bestAt(std::size_t i) {
        Match best;
        if (i >= target_.size()) {
            return best;
        }
        indexTargetUpTo(i);
        const std::size_t remaining = target_.size() - i;
        if (i < source_.size()) {
            const std::size_t same = commonLength(source_.data() + i, target_.data() + i,
                                                  std::min(remaining, source_.size() - i));
            consider(best, {kSourceRead, i, same, i}, 0);
            if (same >= kTakeAtOnce) {
                return best;
            }
        }
        // Where the last copies left off, and (for the target) as far on as the
        // output has come since: offsets of a byte. kNearby covers the source's.
        trySource(best, sourceCursor_, i);
        tryTarget(best, targetCursor_, i);
        tryTarget(best, targetCursor_ + (i - targetEnd_), i);
        if (remaining >= kMatchRun) {
            tryNearby(best, sourceCursor_ + (i - sourceEnd_), i);
            const std::uint32_t* fromSource = sourceIndex_.candidates(target_.data() + i);
            const std::uint32_t* fromTarget = targetIndex_.candidates(target_.data() + i);
            for (std::size_t w = 0; w < MatchIndex::kWays; ++w) {
                if (fromSource[w] != 0) {
                    trySource(best, fromSource[w] - 1, i);
                }
                if (fromTarget[w] != 0) {
                    tryTarget(best, fromTarget[w] - 1, i);
                }
            }
        }
        return best;
    }

    void trySource(Match& best, std::size_t from, std::size_t i) const {
        if (from >= source_.size()) {
            return;
        }
        const std::size_t limit = std::min(target_.size() - i, source_.size() - from);
        Match m{kSourceCopy, i, commonLength(source_.data() + from, target_.data() + i, limit),
                from};
        extendBack(m, source_);
        consider(best, m, BpsNumberSize(BpsRelative(m.from, sourceCursor_)));
    }

    // Every source position within kNearby of center whose run matches: copies
    // from there cost a byte or two of offset, which the index cannot promise.
    void tryNearby(Match& best, std::size_t center, std::size_t i) const {
        if (source_.size() < kMatchRun) {
            return;
        }
        const std::size_t last = source_.size() - kMatchRun;
        const std::size_t from = std::min(center - std::min(center, kNearby), last);
        const std::size_t to = std::min(center + kNearby, last);
        std::uint32_t want;
        std::memcpy(&want, target_.data() + i, kMatchRun);
        for (std::size_t p = from; p <= to; ++p) {
            std::uint32_t run;
            std::memcpy(&run, source_.data() + p, kMatchRun);
            if (run == want) {
                trySource(best, p, i);
            }
        }
    }

    // The decoder copies byte by byte, so the match may run on into bytes it
    // writes itself.
    void tryTarget(Match& best, std::size_t from, std::size_t i) const {
        if (from >= i) {
            return;
        }
        Match m{kTargetCopy, i,
                commonLength(target_.data() + from, target_.data() + i, target_.size() - i), from};
        extendBack(m, target_);
        consider(best, m, BpsNumberSize(BpsRelative(m.from, targetCursor_)));
    }

    // Takes into a match the literal bytes before it that agree too.
    void extendBack(Match& m, std::span<const std::uint8_t> origin) const {
        while (m.start > literalFrom_ && m.from > 0 && origin[m.from - 1] == target_[m.start - 1]) {
            --m.start;
            --m.from;
            ++m.length;
        }
    }

    static void consider(Match& best, Match m, std::size_t offsetCost) {
        if (m.length == 0) {
            return;
        }
        m.saving = static_cast<std::ptrdiff_t>(m.length) -
                   static_cast<std::ptrdiff_t>(actionCost(m.length) + offsetCost);
        if (m.saving > best.saving) {
            best = m;
        }
    }

    void indexTargetUpTo(std::size_t end) {
        for (; indexed_ < end; ++indexed_) {
            targetIndex_.add(indexed_);
        }
    }

    void take(const Match& m) {
        const std::size_t i = m.start;
        flushLiteral(i);
        BpsStep step{m.action, m.length};
        if (m.action == kSourceCopy) {
            step.relative = BpsRelative(m.from, sourceCursor_);
            sourceCursor_ = m.from + m.length;
            sourceEnd_ = i + m.length;
        } else if (m.action == kTargetCopy) {
            step.relative = BpsRelative(m.from, targetCursor_);
            targetCursor_ = m.from + m.length;
            targetEnd_ = i + m.length;
        }
        steps_.push_back(step);
        literalFrom_ = i + m.length;
        if (m.length > 2 * kIndexedEdge) {
            indexTargetUpTo(i + kIndexedEdge);
            indexed_ = std::max(indexed_, literalFrom_ - kIndexedEdge);
        }
    }

    void flushLiteral(std::size_t end) {
        if (literalFrom_ < end) {
            steps_.push_back({kTargetRead, end - literalFrom_});
        }
    }

    std::span<const std::uint8_t> source_;
    std::span<const std::uint8_t> target_;
    MatchIndex sourceIndex_;
    MatchIndex targetIndex_;
    std::vector<BpsStep> steps_;
    std::size_t literalFrom_ = 0;  // start of the bytes waiting for a TargetRead
    std::size_t indexed_ = 0;      // target positions before this are in targetIndex_
    std::size_t sourceCursor_ = 0;
    std::size_t sourceEnd_ = 0;  // where in the target the last SourceCopy ended
    std::size_t targetCursor_ = 0;
    std::size_t targetEnd_ = 0;
};

}  // namespace

std::vector<BpsStep> PlanBpsActions(std::span<const std::uint8_t> source,
                                    std::span<const std::uint8_t> target) {
    return Planner(source, target).run();
}

}  // namespace qm
