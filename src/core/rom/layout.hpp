#pragma once
// Where the game keeps its dialogue inside the ROM image. These numbers are named
// here once; every other file uses the names.

#include <cstddef>
#include <cstdint>

#include "types.hpp"

namespace qm {

inline constexpr std::size_t kPointerTableOffset = 0x301200;
inline constexpr std::size_t kPointerTableLength = 0x400;  // 512 entries of 2 bytes
inline constexpr std::size_t kTextRegionOffset = 0x301600;
inline constexpr std::size_t kTextRegionLength = 28095;                               // 0x6DBF
inline constexpr std::size_t kTextRegionEnd = kTextRegionOffset + kTextRegionLength;  // 0x3083BF
inline constexpr std::size_t kStringCount = 512;
/// The largest file taken as a ROM image: four times the 16 MiB that the
/// console's 24-bit address bus can reach, so no real image (header or
/// expansion included) comes near it, while a save holds the file in memory once.
inline constexpr std::uintmax_t kLargestRomImage = 64 * 1024 * 1024;
/// A pointer counts from the first byte of the pointer table, so the text region
/// starts at pointer 0x0400.
inline constexpr std::uint16_t kPointerBase = 0x0400;

/// Copiers put 512 bytes of their own in front of an image; the game's areas
/// then lie that much further on. An image carries such a header when its size
/// is 512 bytes more than a multiple of 32 KiB (the ROM's bank size).
inline constexpr std::size_t kCopierHeaderLength = 512;
inline constexpr std::size_t kBankSize = 0x8000;
constexpr std::size_t CopierHeaderLength(std::uintmax_t imageSize) {
    return imageSize % kBankSize == kCopierHeaderLength ? kCopierHeaderLength : 0;
}

static_assert(kPointerTableOffset + kPointerTableLength == kTextRegionOffset);
static_assert(kPointerTableLength == 2 * kStringCount);

}  // namespace qm
