#pragma once
// Internal to patch/: the bounds-checked reader both formats parse with, and the
// byte comparisons the IPS encoder scans with.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "patch/patch.hpp"

namespace qm {

/// Throws PatchError «the patch is damaged: <detail>».
[[noreturn]] inline void throwDamaged(std::string_view detail) {
    throw PatchError("the patch is damaged: " + std::string(detail));
}

/// value with a comma every three digits: 4194304 -> «4,194,304».
inline std::string withCommas(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return digits;
}

/// Reads a patch front to back. Every read states what it reads, so a short patch
/// fails with «the patch is damaged: <what> runs past the end of the patch».
class PatchReader {
  public:
    explicit PatchReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t remaining() const { return bytes_.size() - pos_; }

    std::span<const std::uint8_t> take(std::size_t count, std::string_view what) {
        if (count > remaining()) {
            throwDamaged(std::string(what) + " runs past the end of the patch");
        }
        auto part = bytes_.subspan(pos_, count);
        pos_ += count;
        return part;
    }

    std::uint8_t byte(std::string_view what) { return take(1, what)[0]; }

    /// An unsigned number of width bytes, most significant first.
    std::uint32_t bigEndian(std::size_t width, std::string_view what) {
        std::uint32_t value = 0;
        for (std::uint8_t b : take(width, what)) {
            value = (value << 8) | b;
        }
        return value;
    }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

/// How many bytes from offset on a and b agree, stopping at end (end <= both
/// sizes). Compares eight bytes at a time: unchanged stretches are most of a ROM.
inline std::size_t matchLength(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                               std::size_t offset, std::size_t end) {
    std::size_t k = offset;
    for (; k + 8 <= end; k += 8) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, a.data() + k, 8);
        std::memcpy(&y, b.data() + k, 8);
        if (x != y) {
            break;
        }
    }
    while (k < end && a[k] == b[k]) {
        ++k;
    }
    return k - offset;
}

/// How many bytes from offset on (before end) equal bytes[offset].
inline std::size_t runLength(std::span<const std::uint8_t> bytes, std::size_t offset,
                             std::size_t end) {
    const auto from = bytes.begin() + static_cast<std::ptrdiff_t>(offset);
    const auto stop = bytes.begin() + static_cast<std::ptrdiff_t>(end);
    const auto first = *from;
    return static_cast<std::size_t>(
        std::find_if(from, stop, [first](std::uint8_t b) { return b != first; }) - from);
}

}  // namespace qm
