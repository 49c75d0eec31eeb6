#pragma once
// The SNES internal header: the 32 bytes the cartridge carries at a place its
// memory layout fixes, with the game's title, its map mode and a checksum of the
// whole ROM that emulators and flash carts compare. A translation changes the
// sum; these functions find the header, compute the sum as emulators do and,
// on request only, write the checksum pair (its four bytes and nothing else).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qm {

/// Where a ROM keeps its internal header, by its memory layout.
enum class RomLayout : std::uint8_t { LoRom, HiRom, ExHiRom };

/// «LoROM», «HiROM», «ExHiROM».
std::string_view LayoutName(RomLayout layout);

/// The header's first byte in the ROM (behind any copier header) for each layout.
inline constexpr std::size_t kLoRomHeaderOffset = 0x7FC0;
inline constexpr std::size_t kHiRomHeaderOffset = 0xFFC0;
inline constexpr std::size_t kExHiRomHeaderOffset = 0x40FFC0;
/// The header's fields, from its first byte: the title, the map mode, the
/// checksum complement and the checksum (both little-endian), then its end.
inline constexpr std::size_t kHeaderTitleLength = 21;
inline constexpr std::size_t kHeaderMapMode = 0x15;
inline constexpr std::size_t kHeaderComplement = 0x1C;
inline constexpr std::size_t kHeaderChecksum = 0x1E;
inline constexpr std::size_t kHeaderLength = 0x20;

/// An internal header found in a file.
struct InternalHeader {
    RomLayout layout = RomLayout::LoRom;
    std::size_t offset = 0;        ///< of its first byte in the file, copier header included
    std::size_t copierHeader = 0;  ///< bytes in front of the ROM (0 or 512), never summed
    std::string title;             ///< as stored, one byte per char, trailing blanks removed
    std::uint8_t mapMode = 0;
    std::uint16_t complement = 0;  ///< as stored
    std::uint16_t checksum = 0;    ///< as stored

    bool operator==(const InternalHeader&) const = default;
};

/// The internal header of a file (a ROM image, with or without a copier header
/// in front, as CopierHeaderLength tells), or nothing when none is found. A place
/// holds a header when its map-mode byte names that place's layout (the FastROM
/// bit aside: LoROM 0x20, 0x22 or 0x23, HiROM 0x21, ExHiROM 0x25), its checksum
/// pair is consistent (complement XOR checksum = 0xFFFF) or blank (both 0x0000
/// or both 0xFFFF), and its title is printable (ASCII 0x20-0x7E or the katakana
/// 0xA1-0xDF of Japanese titles). Where several places qualify, a consistent pair
/// whose checksum is right beats a consistent one, which beats a blank one;
/// then ExHiROM beats HiROM beats LoROM. Never fails.
std::optional<InternalHeader> FindInternalHeader(std::span<const std::uint8_t> file);

/// The checksum of file as emulators compute it: the 16-bit sum of every byte of
/// the ROM (the copier header left out) with header's pair counted as complement
/// 0xFFFF and checksum 0x0000, so that the stored pair does not change the sum.
/// A ROM whose size is not a power of two is counted as the largest power of two
/// it holds, then the rest, itself counted so, repeated up to that size again
/// (3 MiB: the first 2 MiB once, the last 1 MiB twice). Never fails.
std::uint16_t ComputeChecksum(std::span<const std::uint8_t> file, const InternalHeader& header);

/// A header with the checksum its file should hold.
struct HeaderChecksum {
    InternalHeader header;
    std::uint16_t computed = 0;

    /// Whether the stored checksum is the computed one and its complement matches.
    bool right() const {
        return header.checksum == computed && header.complement == (computed ^ 0xFFFF);
    }
    bool operator==(const HeaderChecksum&) const = default;
};

/// FindInternalHeader and ComputeChecksum together; nothing when no header is found.
std::optional<HeaderChecksum> CheckHeaderChecksum(std::span<const std::uint8_t> file);

/// «Checksum 0x57ED, stored 0x1234: wrong», «Checksum 0x57ED, stored 0x57ED: right»;
/// a stored complement that does not match is named: «..., stored 0x57ED with
/// complement 0x0000: wrong».
std::string ChecksumText(const HeaderChecksum& state);

/// Writes the computed checksum and its complement into the header's pair: four
/// bytes, and nothing else of file changes. Returns the state after (right()),
/// or nothing, with file untouched, when it holds no internal header. Never fails.
std::optional<HeaderChecksum> FixHeaderChecksum(std::span<std::uint8_t> file);

/// CheckHeaderChecksum of the file at path as it stands on disk, for a status bar.
/// Throws FileError when it cannot be read, is not a regular file or is larger
/// than kLargestRomImage.
std::optional<HeaderChecksum> ReadHeaderChecksum(const std::string& path);

}  // namespace qm
