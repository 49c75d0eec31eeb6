#pragma once
// Writing the string table back into a ROM image. Everything is encoded and
// checked before the file is touched; the file is then replaced atomically
// (files.hpp). A row nobody changed is written with the bytes it was loaded from.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "rom/layout.hpp"
#include "rom/stamp.hpp"
#include "rom/string_table.hpp"

namespace qm {

class FileOps;  // files.hpp

/// The new text region contents (strings end to end, at most kTextRegionLength
/// bytes) and the rebuilt pointer table (entry k little-endian in bytes 2k, 2k+1).
struct LaidOutText {
    Bytes text;
    std::array<std::uint8_t, kPointerTableLength> PointerTable{};
};

/// Lays out rows 1..512 (later rows are ignored), each as EncodedBytes gives it:
/// entry k is 0x0400 + the bytes of rows 1..k. With fewer than 512 rows, every
/// remaining entry points at the terminator of the last string. Reports
/// "Saving ROM: P%" for each entry i = 0..511 when progress is set. rows are not
/// changed. Throws SaveError when rows is empty ("nothing to save"), for the
/// first row the encoder refuses (row() and position() say where), and when the
/// text is longer than the region (the message says by how many bytes).
LaidOutText LayOutRows(std::span<const StringEntry> rows, const ProgressFn& progress = {});

/// Writes one encoded string (one byte per char) into image from offset on.
/// Throws std::out_of_range when it would not fit (the callers check first).
void OutString(std::span<std::uint8_t> image, const std::string& text, std::size_t offset);

/// Puts laid-out text into an image in memory, behind its copier header if it has
/// one: the pointer table and the text; every other byte stays, the region's bytes
/// after the new text included, except that when the text holds fewer than 512
/// strings every 0xFF there becomes 0x00, so that loading the image finds exactly
/// the strings laid out (with 512 the load stops at the last of them anyway).
/// Throws SaveError when the image ends before the text region does.
void ApplyLaidOutText(std::span<std::uint8_t> image, const LaidOutText& laidOut);

/// What a save writes besides the table.
struct SaveOptions {
    /// Also write the internal header's checksum pair (rom/internal_header.hpp)
    /// for the saved image: four bytes outside the pointer table and text region,
    /// so only when the user asks. An image without a header gets no fix.
    bool fixHeaderChecksum = false;
    /// The stamp of the file as the rows were read from it (or last saved into
    /// it): a save refuses when the file no longer matches it (another program
    /// wrote it meanwhile). Nothing: no such check.
    std::optional<RomStamp> expected;
};

/// image with the laid-out text applied (ApplyLaidOutText) and, with
/// options.fixHeaderChecksum, its header's checksum pair fixed (FixHeaderChecksum).
/// Throws SaveError as ApplyLaidOutText does.
void ApplySave(std::span<std::uint8_t> image, const LaidOutText& laidOut,
               const SaveOptions& options);

enum class RomAccess { kReadOnly, kReadWrite };

/// Checks that path (followed through symbolic links) is an existing regular file
/// that reaches the end of the text region, is no larger than kLargestRomImage
/// and, for kReadWrite, is not read-only.
/// Throws SaveError with a message for the user otherwise.
void CheckRomFile(const std::string& path, RomAccess access = RomAccess::kReadWrite);

/// The bytes a save of rows into the ROM image at path would write, without
/// writing them (a scratch copy to try in an emulator): LayOutRows, CheckRomFile
/// (read-only access will do), read the file, ApplySave. Throws SaveError or FileError.
Bytes SavedImage(const std::string& path, std::span<const StringEntry> rows,
                 const SaveOptions& options = {}, const ProgressFn& progress = {});

/// Saves rows into the ROM image at path in place: LayOutRows, CheckRomFile, read
/// the file, ApplySave, WriteFileAtomically. With options.expected (the stamp of
/// the file the rows were loaded from, or of the last save), the file must still
/// match it, checked on what was read and again right before the new file replaces
/// it: otherwise FileChangedError, and nothing is written. Returns the stamp of the
/// file as written. Throws SaveError (nothing written) or FileError (file left
/// exactly as it was). The rows are not changed.
RomStamp SaveRom(const std::string& path, std::span<const StringEntry> rows,
                 const ProgressFn& progress = {}, const SaveOptions& options = {});
RomStamp SaveRom(const std::string& path, std::span<const StringEntry> rows,
                 const ProgressFn& progress, FileOps& ops, const SaveOptions& options = {});

/// The steps a save shares with Save As Copy. ReadRomForSave: the whole file at
/// path; with expected, FileChangedError (naming name) when what was read no
/// longer matches it. Throws FileError.
Bytes ReadRomForSave(const std::string& path, const std::string& name,
                     const std::optional<RomStamp>& expected);
/// WriteSavedRom: WriteFileAtomically(target, image, ops, permissions), checking
/// right before the rename that source still matches expected when given
/// (CheckRomUnchanged). Returns the stamp of target as written. Throws FileError.
RomStamp WriteSavedRom(const std::string& target, std::span<const std::uint8_t> image, FileOps& ops,
                       std::uint32_t permissions, const std::string& source,
                       const std::optional<RomStamp>& expected);

}  // namespace qm
