#pragma once
// Reading the two text areas out of a ROM image and splitting the text region
// into decoded strings.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "rom/layout.hpp"

#include "files.hpp"

namespace qm {

/// Copies of the pointer table and the text region as they stand in the file.
struct RomText {
    std::array<std::uint8_t, kPointerTableLength> PointerTable{};
    std::array<std::uint8_t, kTextRegionLength> TextBlock{};
};

/// Takes both areas out of an image held in memory, behind a copier header when
/// the image has one. Bytes beyond the end of a short image read as 0. Never fails.
RomText ReadRomText(std::span<const std::uint8_t> image);

/// Reads both areas from an open ROM image (behind a copier header when it has
/// one), reporting "Reading ROM Pointers" and
/// "Reading ROM Strings". Throws FileError when the file is too short to hold the
/// text region (such a file could never be saved), larger than kLargestRomImage,
/// or a read fails.
RomText ReadRomText(const RegularFile& file, const ProgressFn& progress = {});

/// Splits the text region at each 0xFF into decoded strings. Slot 0 is always
/// empty; slot k (1..N, N <= 512) holds «origin:decoded text», origin being 0 for
/// the first string and the region offset of the preceding terminator otherwise.
/// Bytes after the last terminator form no string. When progress is set, reports
/// "Isolating ROM Strings: P%" (P = ProgressPercent(index / (size - 1) * 100))
/// for the bytes examined, each text once, at the first byte that shows it.
std::vector<std::string> IsolateRomStrings(std::span<const std::uint8_t> textBlock,
                                           const ProgressFn& progress = {});

/// The first three characters of value written with up to 15 significant digits
/// and no trailing zeros: 0 -> «0», 10.0021... -> «10.», 100 -> «100».
std::string ProgressPercent(double value);

}  // namespace qm
