#pragma once
// Internal to patch/: at one position of the target, the action that saves the
// most patch bytes: a read at the same offset, or a copy from anywhere in the
// source or in what is written so far. bps_plan.cpp decides which to take.

#include <cstddef>
#include <cstdint>
#include <span>

#include "patch/bps_plan.hpp"
#include "patch/chain_index.hpp"
#include "patch/match_index.hpp"

namespace qm {

/// An action found at a target position; start may lie before that position
/// when the copy also covers literal bytes waiting before it.
struct BpsMatch {
    BpsAction action = kTargetRead;
    std::size_t start = 0;  // in the target
    std::size_t length = 0;
    std::size_t from = 0;       // in the source or the target
    std::ptrdiff_t saving = 0;  // patch bytes saved against carrying the bytes
};

/// Where the planner stands: where the bytes waiting for a TargetRead begin, and
/// the cursors a copy's offset is counted from.
struct BpsCursors {
    std::size_t literalFrom = 0;
    std::size_t source = 0;
    std::size_t sourceEnd = 0;  // where in the target the last SourceCopy ended
    std::size_t target = 0;
    std::size_t targetEnd = 0;  // where in the target the last TargetCopy ended
};

/// Bytes of the action word for length bytes.
std::size_t BpsActionCost(std::size_t length);

class BpsCopyFinder {
  public:
    /// Indexes every position of source (every few of one over 8 MiB). Throws
    /// std::bad_alloc.
    BpsCopyFinder(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target);

    /// The action at target position i that saves the most; saving 0 and length 0
    /// when none saves anything. Target positions before i become copyable.
    BpsMatch bestAt(std::size_t i, const BpsCursors& at);

    /// Makes target positions before end copyable.
    void indexTo(std::size_t end);

    /// Leaves target positions before end out of the target's indexes: the inside
    /// of a long copy is found where it was copied from.
    void skipTo(std::size_t end);

  private:
    // targetIndexed: about how many target positions will be indexed.
    BpsCopyFinder(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target,
                  std::size_t targetIndexed);
    void trySource(BpsMatch& best, std::size_t from, std::size_t i, const BpsCursors& at) const;
    void tryTarget(BpsMatch& best, std::size_t from, std::size_t i, const BpsCursors& at) const;
    void tryNearby(BpsMatch& best, std::size_t center, std::size_t i, const BpsCursors& at) const;
    struct ChainWalk {
        const ChainIndex& chains;
        BpsAction action;
        std::size_t ahead;    // the run looked up lies this far on from the position
        std::size_t deepest;  // places walked at most
    };
    struct Far {
        std::size_t reach;  // how far it may agree
        std::size_t from;
    };
    bool searchChain(BpsMatch& best, const ChainWalk& walk, std::size_t i,
                     const BpsCursors& at) const;
    void takeFurthest(BpsMatch& best, BpsAction action, Far* far, std::size_t farCount,
                      std::size_t i, const BpsCursors& at) const;
    void searchFurther(BpsMatch& best, std::size_t i, const BpsCursors& at) const;
    bool mayBeat(const BpsMatch& best, BpsAction action, std::size_t from, std::size_t i,
                 const BpsCursors& at) const;
    BpsMatch measure(BpsAction action, std::size_t from, std::size_t i, std::size_t cap) const;
    std::size_t reach(BpsAction action, std::size_t from, std::size_t i) const;
    void weigh(BpsMatch& best, BpsMatch m, const BpsCursors& at) const;

    std::span<const std::uint8_t> source_;
    std::span<const std::uint8_t> target_;
    ChainIndex sourceChains_;
    MatchIndex targetIndex_;
    ChainIndex targetChains_;
    std::size_t indexed_ = 0;  // target positions before this are in the target's indexes
};

}  // namespace qm
