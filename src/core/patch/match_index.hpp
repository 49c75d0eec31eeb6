#pragma once
// Internal to patch/: where a short stretch of bytes occurred lately. A hash table
// of four-byte runs, each bucket keeping the last few positions it was given, so
// memory stays fixed whatever the file's size and a lookup reads one cache line.
// It finds the short copies of words within new text; ChainIndex finds the long
// ones.

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

/// Bytes a run must share to be found; shorter matches seldom pay for a copy.
inline constexpr std::size_t kMatchRun = 4;

/// How many bytes from a and b on agree, at most limit. Eight bytes at a time:
/// the matches worth taking are long.
inline std::size_t commonLength(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit) {
    std::size_t k = 0;
    for (; k + 8 <= limit; k += 8) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, a + k, 8);
        std::memcpy(&y, b + k, 8);
        if (x != y) {
            const int bit = std::endian::native == std::endian::little ? std::countr_zero(x ^ y)
                                                                       : std::countl_zero(x ^ y);
            return k + static_cast<std::size_t>(bit / 8);
        }
    }
    while (k < limit && a[k] == b[k]) {
        ++k;
    }
    return k;
}

class MatchIndex {
  public:
    static constexpr std::size_t kWays = 8;

    /// An index over bytes for about expected positions: a bucket for every
    /// four, up to 8 MiB of table.
    MatchIndex(std::span<const std::uint8_t> bytes, std::size_t expected)
        : bytes_(bytes),
          bits_(std::clamp(static_cast<int>(std::bit_width(expected / 8)), 10, 18)),
          slots_(static_cast<std::uint32_t*>(
                     std::calloc(std::size_t{1} << bits_, kWays * sizeof(std::uint32_t))),
                 &std::free) {
        if (!slots_) {
            throw std::bad_alloc();
        }
    }

    /// Records the run at position (nothing when it would end past the bytes, or
    /// lies past 4 GiB).
    void add(std::size_t position) {
        if (position + kMatchRun <= bytes_.size() && position < kFar) {
            push(bucketFor(bytes_.data() + position), position);
        }
    }

    /// Up to kWays positions + 1 whose run may equal run[0..kMatchRun), latest
    /// first, 0 for none. A hash collision may give a position whose bytes differ.
    const std::uint32_t* candidates(const std::uint8_t* run) const { return bucketFor(run); }

  private:
    static constexpr std::size_t kFar = 0xFFFFFFFF;

    std::uint32_t* bucketFor(const std::uint8_t* run) const {
        std::uint32_t word;
        std::memcpy(&word, run, kMatchRun);
        return slots_.get() + ((word * 2654435761u) >> (32 - bits_)) * kWays;
    }

    static void push(std::uint32_t* bucket, std::size_t position) {
        for (std::size_t k = kWays - 1; k > 0; --k) {
            bucket[k] = bucket[k - 1];
        }
        bucket[0] = static_cast<std::uint32_t>(position + 1);
    }

    std::span<const std::uint8_t> bytes_;
    int bits_;
    // calloc: pages of the table that are never used are never touched.
    std::unique_ptr<std::uint32_t, decltype(&std::free)> slots_;
};

}  // namespace qm
