#include "patch/bps_search.hpp"

#include <algorithm>
#include <cstring>

namespace qm {

namespace {

// A same-offset stretch or a continued copy this long is taken without looking
// further: no other copy could save more than the byte or two its action costs.
constexpr std::size_t kTakeAtOnce = 64;
// How far around where the last source copy would continue the encoder looks for
// a match: an edited row in between shifts the rest by its change in length.
constexpr std::size_t kNearby = 64;
// How many earlier places of a run are looked at, latest first: enough to see
// past the near-misses of data that repeats with variation, and past the copies
// of a block that repeats every 64 KiB through 4 MiB.
constexpr std::size_t kChainDepth = 256;
// Places that each overlap the one found before lie in a run of one byte or a
// short pattern: after this many, the rest of the chain is more of the same.
constexpr std::size_t kCrowded = 16;
// After this many places in a row that neither did better nor agreed for long,
// the rest of a chain is taken to be more of the same: many places alike (the
// same line in many rows) differ only in their offset's byte or two.
constexpr std::size_t kStale = 64;
// Copies within the target are mostly words of new text: their chains are walked
// less deep.
constexpr std::size_t kTargetChainDepth = 64;
// When the source's chain is longer than its walk, the runs of kFurthest bytes
// from where the best place stops agreeing are looked up too, kFurtherDepth places
// each. (A block copied within the target is found where it lies in the source,
// or is new text, words long.)
constexpr std::size_t kFurthest = 256;
constexpr std::size_t kFurtherDepth = 8;
// Places along a chain are first measured this far; the few that agree further
// are probed every kProbeStride bytes to see how far they may reach.
constexpr std::size_t kProbe = 4096;
constexpr std::size_t kProbeStride = 65521;  // prime: data repeating every 64 KiB is common
constexpr std::size_t kUnlimited = static_cast<std::size_t>(-1);

// About how many target bytes differ from the source's at the same offset (in
// whole words of eight), which is about how many the target's indexes are given.
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

}  // namespace

std::size_t BpsActionCost(std::size_t length) {
    return BpsNumberSize(std::uint64_t{length - 1} << 2);
}

BpsCopyFinder::BpsCopyFinder(std::span<const std::uint8_t> source,
                             std::span<const std::uint8_t> target)
    : BpsCopyFinder(source, target, 2 * differingBytes(source, target)) {}

BpsCopyFinder::BpsCopyFinder(std::span<const std::uint8_t> source,
                             std::span<const std::uint8_t> target, std::size_t targetIndexed)
    : source_(source),
      target_(target),
      sourceChains_(source, source.size()),
      targetIndex_(target, targetIndexed),
      targetChains_(target, targetIndexed) {
    sourceChains_.addAll();
}

BpsMatch BpsCopyFinder::bestAt(std::size_t i, const BpsCursors& at) {
    BpsMatch best;
    if (i >= target_.size()) {
        return best;
    }
    indexTo(i);
    const std::size_t remaining = target_.size() - i;
    if (i < source_.size()) {
        const std::size_t same = commonLength(source_.data() + i, target_.data() + i,
                                              std::min(remaining, source_.size() - i));
        weigh(best, {kSourceRead, i, same, i}, at);
    }
    // Where the last copies left off, and (for the target) as far on as the output
    // has come since: offsets of a byte. kNearby covers the source's.
    trySource(best, at.source, i, at);
    tryTarget(best, at.target, i, at);
    tryTarget(best, at.target + (i - at.targetEnd), i, at);
    if (best.length >= kTakeAtOnce) {
        return best;
    }
    if (remaining >= kMatchRun) {
        tryNearby(best, at.source + (i - at.sourceEnd), i, at);
        const std::uint32_t* fromTarget = targetIndex_.candidates(target_.data() + i);
        for (std::size_t w = 0; w < MatchIndex::kWays && fromTarget[w] != 0; ++w) {
            tryTarget(best, fromTarget[w] - 1, i, at);
        }
    }
    if (remaining >= kChainRun) {
        if (searchChain(best, {sourceChains_, kSourceCopy, 0, kChainDepth}, i, at)) {
            searchFurther(best, i, at);
        }
        searchChain(best, {targetChains_, kTargetCopy, 0, kTargetChainDepth}, i, at);
    }
    return best;
}

void BpsCopyFinder::skipTo(std::size_t end) {
    indexed_ = std::max(indexed_, end);
}

void BpsCopyFinder::trySource(BpsMatch& best, std::size_t from, std::size_t i,
                              const BpsCursors& at) const {
    if (from < source_.size()) {
        weigh(best, measure(kSourceCopy, from, i, kUnlimited), at);
    }
}

// The decoder copies byte by byte, so the match may run on into bytes it writes
// itself.
void BpsCopyFinder::tryTarget(BpsMatch& best, std::size_t from, std::size_t i,
                              const BpsCursors& at) const {
    if (from < i) {
        weigh(best, measure(kTargetCopy, from, i, kUnlimited), at);
    }
}

// Every source position within kNearby of center whose run matches: copies from
// there cost a byte or two of offset, and may be too short for the chains.
void BpsCopyFinder::tryNearby(BpsMatch& best, std::size_t center, std::size_t i,
                              const BpsCursors& at) const {
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
            trySource(best, p, i, at);
        }
    }
}

// The places along the chain of the run walk.ahead bytes on from i, taken back to
// i, up to walk.deepest of them (fewer inside a run of one byte or a short
// pattern, or once kStale in a row did no better), each measured up to kProbe
// bytes. Those that agree that far are measured in full, the one sparse probes
// say may reach furthest first, until none may beat the best: where data
// repeats, dozens of places agree for megabytes. Returns whether the chain was
// longer than the walk and held no such place, while its places agreed for
// different lengths: copies of a block that differ here and there, where the one
// the walk did not reach may agree for longer.
bool BpsCopyFinder::searchChain(BpsMatch& best, const ChainWalk& walk, std::size_t i,
                                const BpsCursors& at) const {
    Far far[kChainDepth];  // left uninitialised: this runs at most target positions
    std::size_t farCount = 0;
    std::size_t depth = 0;
    std::size_t crowded = 0;  // places that overlap the one found before
    std::size_t previous = kUnlimited;
    std::size_t stale = 0;  // places in a row that were no better and not far
    std::size_t shortest = kUnlimited;
    std::size_t longest = 0;
    auto c = walk.chains.first(target_.data() + i + walk.ahead);
    for (; c != 0 && depth < walk.deepest && crowded < kCrowded && stale < kStale;
         c = walk.chains.next(c), ++depth) {
        const std::size_t from = c - 1 - walk.ahead;
        crowded += previous - from < kChainRun;
        previous = from;
        ++stale;
        // A lookahead may have indexed the target past i; only what is written
        // before i can be copied.
        if (c - 1 < walk.ahead || (walk.action == kTargetCopy && from >= i) ||
            !mayBeat(best, walk.action, from, i, at)) {
            continue;
        }
        const BpsMatch m = measure(walk.action, from, i, kProbe);
        if (m.length < kProbe) {
            shortest = std::min(shortest, m.length);
            longest = std::max(longest, m.length);
            const std::ptrdiff_t saved = best.saving;
            weigh(best, m, at);
            stale = best.saving > saved ? 0 : stale;
        } else {
            stale = 0;
            far[farCount++] = {reach(walk.action, from, i), from};
        }
    }
    takeFurthest(best, walk.action, far, farCount, i, at);
    return c != 0 && crowded < kCrowded && farCount == 0 && shortest < longest;
}

void BpsCopyFinder::takeFurthest(BpsMatch& best, BpsAction action, Far* far, std::size_t farCount,
                                 std::size_t i, const BpsCursors& at) const {
    std::sort(far, far + farCount, [](Far a, Far b) { return a.reach > b.reach; });
    const auto beaten = [&] { return std::max(best.start + best.length, i) - i; };
    for (std::size_t k = 0; k < farCount && far[k].reach > beaten(); ++k) {
        weigh(best, measure(action, far[k].from, i, kUnlimited), at);
    }
}

// When a chain is longer than its walk, the runs from where the best place stops
// agreeing on are rarer (a byte that varies between the copies of a block lies
// among them): the first few places of each, taken back to i, may hold the copy
// the chain hid. Runs of one byte are passed over: they are everywhere.
void BpsCopyFinder::searchFurther(BpsMatch& best, std::size_t i, const BpsCursors& at) const {
    const std::size_t agreed = std::max(best.start + best.length, i) - i;
    const std::size_t first = std::max(agreed, 2 * kChainRun - 1) - (kChainRun - 1);
    for (std::size_t ahead = first;
         ahead < first + kFurthest && ahead + kChainRun <= target_.size() - i; ahead += kChainRun) {
        std::uint64_t run;
        std::memcpy(&run, target_.data() + i + ahead, kChainRun);
        if (run != (run & 0xFF) * 0x0101010101010101u) {
            searchChain(best, {sourceChains_, kSourceCopy, ahead, kFurtherDepth}, i, at);
        }
    }
}

// Whether a copy from position from may save more than best: it costs at least
// two bytes, so it must agree at least that much further, less what it may take
// of the literal bytes before i. One byte tells most places that cannot.
bool BpsCopyFinder::mayBeat(const BpsMatch& best, BpsAction action, std::size_t from, std::size_t i,
                            const BpsCursors& at) const {
    const auto origin = action == kSourceCopy ? source_ : target_;
    const std::size_t need = static_cast<std::size_t>(best.saving) + 2;
    const std::size_t back = i - at.literalFrom;
    if (need <= back) {
        return true;
    }
    const std::size_t last = need - back;  // how far it must agree at least, less one
    return last < target_.size() - i && last < origin.size() - from &&
           origin[from + last] == target_[i + last];
}

// A copy of what agrees from position from of the source or the target on with
// the target from i on, measured up to cap bytes.
BpsMatch BpsCopyFinder::measure(BpsAction action, std::size_t from, std::size_t i,
                                std::size_t cap) const {
    const auto origin = action == kSourceCopy ? source_ : target_;
    const std::size_t limit = std::min({target_.size() - i, origin.size() - from, cap});
    return {action, i, commonLength(origin.data() + from, target_.data() + i, limit), from};
}

// How far at most what agrees from position from on and from i on reaches: to
// the first probe every kProbeStride bytes that differs, or to the end.
std::size_t BpsCopyFinder::reach(BpsAction action, std::size_t from, std::size_t i) const {
    const auto origin = action == kSourceCopy ? source_ : target_;
    const std::size_t limit = std::min(target_.size() - i, origin.size() - from);
    for (std::size_t at = kProbe; at + 8 <= limit; at += kProbeStride) {
        if (std::memcmp(origin.data() + from + at, target_.data() + i + at, 8) != 0) {
            return at + 8;
        }
    }
    return limit;
}

// Takes into m the literal bytes before it that agree too, prices it, and keeps
// it when it saves more than best.
void BpsCopyFinder::weigh(BpsMatch& best, BpsMatch m, const BpsCursors& at) const {
    std::size_t offsetCost = 0;
    if (m.action != kSourceRead) {
        const bool fromSource = m.action == kSourceCopy;
        const auto origin = fromSource ? source_ : target_;
        while (m.start > at.literalFrom && m.from > 0 &&
               origin[m.from - 1] == target_[m.start - 1]) {
            --m.start;
            --m.from;
            ++m.length;
        }
        offsetCost = BpsNumberSize(BpsRelative(m.from, fromSource ? at.source : at.target));
    }
    if (m.length == 0) {
        return;
    }
    m.saving = static_cast<std::ptrdiff_t>(m.length) -
               static_cast<std::ptrdiff_t>(BpsActionCost(m.length) + offsetCost);
    if (m.saving > best.saving) {
        best = m;
    }
}

void BpsCopyFinder::indexTo(std::size_t end) {
    for (; indexed_ < end; ++indexed_) {
        targetIndex_.add(indexed_);
        targetChains_.add(indexed_);
    }
}

}  // namespace qm
