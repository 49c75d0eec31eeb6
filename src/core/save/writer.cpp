#include "save/writer.hpp"

#include <unistd.h>

#include <algorithm>
#include <stdexcept>

#include "errors.hpp"
#include "files.hpp"
#include "markup/encoder.hpp"
#include "rom/reader.hpp"
#include "text.hpp"

namespace qm {

namespace {

/// Encodes rows 1..512, reporting progress for every pointer entry.
std::vector<std::string> encodeRows(std::span<const StringEntry> rows, const ProgressFn& progress) {
    std::size_t count = std::min(rows.size(), kStringCount);
    std::vector<std::string> encoded;
    encoded.reserve(count);
    for (std::size_t i = 0; i < kStringCount; ++i) {
        if (progress) {
            progress("Saving ROM: " + ProgressPercent(static_cast<double>(i) / 511.0 * 100) + "%");
        }
        if (i >= count) {
            continue;
        }
        const StringEntry& row = rows[i];
        try {
            encoded.push_back(StringtoQM(row.Portrait, row.Coloured, row.Text));
        } catch (const EncodeError& e) {
            throw SaveError("Row " + std::to_string(i + 1) + ": " + e.what());
        }
    }
    return encoded;
}

void setEntry(LaidOutText& out, std::size_t k, std::size_t offset) {
    PutLittleEndian16(out.PointerTable, 2 * k, static_cast<std::uint16_t>(kPointerBase + offset));
}

}  // namespace

LaidOutText LayOutRows(std::span<const StringEntry> rows, const ProgressFn& progress) {
    if (rows.empty()) {
        throw SaveError("There is nothing to save: the string table is empty.");
    }
    std::vector<std::string> encoded = encodeRows(rows, progress);
    std::size_t total = 0;
    for (const auto& s : encoded) {
        total += s.size();
    }
    if (total > kTextRegionLength) {
        throw SaveError("The text is " + BytesText(total - kTextRegionLength) +
                        " too long for the ROM's text region: it needs " + BytesText(total) +
                        " and the region holds " + BytesText(kTextRegionLength) + ".");
    }

    LaidOutText out;
    out.text.resize(total);
    std::size_t offset = 0;
    for (std::size_t k = 0; k < encoded.size(); ++k) {
        setEntry(out, k, offset);
        OutString(out.text, encoded[k], offset);
        offset += encoded[k].size();
    }
    // Every encoded string ends with its terminator, so total >= 1 here; the
    // entries without a row point at the last terminator: an empty string.
    for (std::size_t k = encoded.size(); k < kStringCount; ++k) {
        setEntry(out, k, total - 1);
    }
    return out;
}

void OutString(std::span<std::uint8_t> image, const std::string& text, std::size_t offset) {
    if (offset > image.size() || text.size() > image.size() - offset) {
        throw std::out_of_range("OutString: the string does not fit at its position");
    }
    std::transform(text.begin(), text.end(), image.begin() + static_cast<std::ptrdiff_t>(offset),
                   [](char c) { return static_cast<std::uint8_t>(c); });
}

void ApplyLaidOutText(std::span<std::uint8_t> image, const LaidOutText& laidOut) {
    if (image.size() < kTextRegionEnd) {
        throw SaveError("The ROM image is too short: it ends before its text region does.");
    }
    std::copy(laidOut.PointerTable.begin(), laidOut.PointerTable.end(),
              image.begin() + kPointerTableOffset);
    auto region = image.subspan(kTextRegionOffset, kTextRegionLength);
    std::copy(laidOut.text.begin(), laidOut.text.end(), region.begin());
}

void CheckRomFile(const std::string& path, RomAccess access) {
    if (path.empty()) {
        throw SaveError("Cannot save: no ROM image is open.");
    }
    ResolvedFile file = ResolveFile(path);
    if (!file.exists) {
        throw SaveError("Cannot save: " + Quoted(path) + " does not exist.");
    }
    if (file.isFolder) {
        throw SaveError("Cannot save: " + Quoted(path) + " is a folder, not a ROM image.");
    }
    if (!file.isRegular) {
        throw SaveError("Cannot save: " + Quoted(path) + " is not a regular file.");
    }
    if (file.size < kTextRegionEnd) {
        throw SaveError("Cannot save: " + Quoted(path) +
                        " is too short for a ROM image of the game (" + BytesText(file.size) +
                        "; its text region ends at byte " + std::to_string(kTextRegionEnd) + ").");
    }
    // Root may write anywhere; a file without any write permission is still
    // one the user marked read-only.
    if (access == RomAccess::kReadWrite &&
        ((file.permissions & 0222) == 0 || ::access(file.path.c_str(), W_OK) != 0)) {
        throw SaveError("Cannot save: " + Quoted(path) + " is read-only.");
    }
}

void WriteLaidOutText(const std::string& path, const LaidOutText& laidOut, FileOps& ops) {
    CheckRomFile(path);
    std::string target = ResolveFile(path).path;
    Bytes image = ReadWholeFile(target);
    ApplyLaidOutText(image, laidOut);
    WriteFileAtomically(target, image, ops);
}

void SaveRom(const std::string& path, std::span<const StringEntry> rows,
             const ProgressFn& progress) {
    SaveRom(path, rows, progress, SystemFileOps());
}

void SaveRom(const std::string& path, std::span<const StringEntry> rows, const ProgressFn& progress,
             FileOps& ops) {
    LaidOutText laidOut = LayOutRows(rows, progress);
    WriteLaidOutText(path, laidOut, ops);
}

}  // namespace qm
