#pragma once
// Writing the string table back into a ROM image. Everything is encoded and
// checked before the file is touched; the file is then replaced atomically.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "rom/layout.hpp"
#include "rom/string_table.hpp"

namespace qm {

class FileOps;  // save/atomic_file.hpp

/// The new text region contents (strings end to end, at most kTextRegionLength
/// bytes) and the rebuilt pointer table.
struct LaidOutText {
    Bytes text;
    std::array<std::uint8_t, kPointerTableLength> PointerTable{};
};

/// Encodes rows 1..512 (later rows are ignored) and lays them out. Reports
/// "Saving ROM: P%" per row when progress is set. Throws SaveError naming the row
/// for a row the encoder refuses, when the text is longer than the region, or
/// when rows is empty.
LaidOutText LayOutRows(std::span<const StringEntry> rows, const ProgressFn& progress = {});

/// Writes one encoded string (one byte per char) into image from offset on.
void OutString(std::span<std::uint8_t> image, const std::string& text, std::size_t offset);

/// Saves rows into the ROM image at path in place. Throws SaveError (nothing
/// written) or FileError (file left exactly as it was).
void SaveRom(const std::string& path, std::span<const StringEntry> rows,
             const ProgressFn& progress = {});
void SaveRom(const std::string& path, std::span<const StringEntry> rows,
             const ProgressFn& progress, FileOps& ops);

}  // namespace qm
