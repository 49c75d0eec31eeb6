#pragma once
// Internal to patch/: every earlier occurrence of a run of bytes. A hash table of
// chains: each position indexed links to the previous one whose run has the same
// hash, so nothing is forgotten and the longest copy can be told from the hundreds
// of places that only begin like it (data that repeats with variation). The walk
// along a chain is bounded by its caller. Every position of up to 8 MiB is
// indexed, every second, fourth... one of larger files, so the links never take
// more than 32 MiB: a copy found a few bytes late is extended back by its caller.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <span>

namespace qm {

/// Bytes a run must share to be found in a ChainIndex: few places share eight
/// bytes even in text, so chains stay short, and a copy shorter than that seldom
/// pays for an offset far away.
inline constexpr std::size_t kChainRun = 8;

class ChainIndex {
  public:
    /// An index over bytes (of which the first 4 GiB are ever indexed) for about
    /// expected positions: a chain head for every sixteen, up to 1 MiB of heads
    /// and 2 MiB of bits.
    ChainIndex(std::span<const std::uint8_t> bytes, std::size_t expected)
        : bytes_(bytes.first(std::min(bytes.size(), kFar))),
          stride_(std::bit_ceil((bytes_.size() + kMostLinks - 1) / kMostLinks)),
          bits_(std::clamp(static_cast<int>(std::bit_width(expected / stride_ / 16)), 10, 18)),
          heads_(allocate(std::size_t{1} << bits_)),
          links_(allocate(bytes_.size() / stride_ + 1)),
          seen_(allocate(std::size_t{1} << (bits_ + kSeenBits - 5))) {}

    /// Records the run at position, when it is one this index keeps (the run
    /// must end within the bytes; over 8 MiB, only every stride-th).
    /// Positions are added in increasing order.
    void add(std::size_t position) {
        if ((position & (stride_ - 1)) == 0 && position + kChainRun <= bytes_.size()) {
            link(position);
        }
    }

    /// Records the runs at every position it keeps. Fetches heads a few positions
    /// ahead: the table is larger than the processor's nearer caches.
    void addAll() {
        const std::size_t ahead = 16 * stride_;
        for (std::size_t p = 0; p + kChainRun <= bytes_.size(); p += stride_) {
            if (p + ahead + kChainRun <= bytes_.size()) {
                const std::uint64_t h = hash(bytes_.data() + p + ahead);
                __builtin_prefetch(heads_.get() + (h >> (64 - bits_)), 1);
                __builtin_prefetch(seen_.get() + (h >> (64 - bits_ - kSeenBits + 5)), 1);
            }
            link(p);
        }
    }

    /// The latest position + 1 whose run may equal run[0..kChainRun), 0 for none;
    /// next() of it gives the one before. A hash collision may give a position
    /// whose bytes differ.
    std::uint32_t first(const std::uint8_t* run) const {
        const std::uint64_t h = hash(run);
        const std::uint64_t bit = h >> (64 - bits_ - kSeenBits);
        return (seen_.get()[bit >> 5] >> (bit & 31) & 1) != 0 ? heads_.get()[h >> (64 - bits_)] : 0;
    }
    std::uint32_t next(std::uint32_t candidate) const {
        return links_.get()[(candidate - 1) / stride_];
    }

  private:
    static constexpr std::size_t kFar = 0xFFFFFFFF;
    static constexpr std::size_t kMostLinks = std::size_t{1} << 23;
    // seen_ has 2^kSeenBits bits for every head: most runs that occur nowhere are
    // told by one bit in a table that fits the processor's cache, not by a walk.
    static constexpr int kSeenBits = 6;

    using Table = std::unique_ptr<std::uint32_t, decltype(&std::free)>;

    // calloc: pages of a table that are never used are never touched, so the links
    // of a target cost only what is indexed of it.
    static Table allocate(std::size_t count) {
        Table table(static_cast<std::uint32_t*>(
                        std::calloc(std::max<std::size_t>(count, 1), sizeof(std::uint32_t))),
                    &std::free);
        if (!table) {
            throw std::bad_alloc();
        }
        return table;
    }

    static std::uint64_t hash(const std::uint8_t* run) {
        std::uint64_t word;
        std::memcpy(&word, run, kChainRun);
        return word * 0x9E3779B97F4A7C15u;
    }

    void link(std::size_t position) {
        const std::uint64_t h = hash(bytes_.data() + position);
        std::uint32_t& head = heads_.get()[h >> (64 - bits_)];
        links_.get()[position / stride_] = head;
        head = static_cast<std::uint32_t>(position + 1);
        const std::uint64_t bit = h >> (64 - bits_ - kSeenBits);
        seen_.get()[bit >> 5] |= std::uint32_t{1} << (bit & 31);
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t stride_;  // a power of two
    int bits_;
    Table heads_;
    Table links_;
    Table seen_;
};

}  // namespace qm
