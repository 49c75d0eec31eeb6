#include "save/writer.hpp"

#include <algorithm>
#include <stdexcept>

#include "errors.hpp"
#include "files.hpp"
#include "rom/internal_header.hpp"
#include "rom/reader.hpp"
#include "text.hpp"

namespace qm {

namespace {

/// The bytes of rows 1..512, reporting progress for every pointer entry.
std::vector<std::string> encodeRows(std::span<const StringEntry> rows, const ProgressFn& progress) {
    const std::size_t count = std::min(rows.size(), kStringCount);
    std::vector<std::string> encoded;
    encoded.reserve(count);
    for (std::size_t i = 0; i < kStringCount; ++i) {
        if (progress) {
            progress("Saving ROM: " + ProgressPercent(static_cast<double>(i) / 511.0 * 100) + "%");
        }
        if (i >= count) {
            continue;
        }
        try {
            encoded.push_back(EncodedBytes(rows[i]));
        } catch (const EncodeError& e) {
            throw SaveError(i, e);
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
    const std::vector<std::string> encoded = encodeRows(rows, progress);
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
    // Every string ends with its terminator, so total >= 1 here; the entries
    // without a row point at the last terminator: an empty string.
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
    const std::size_t header = CopierHeaderLength(image.size());
    if (image.size() < header + kTextRegionEnd) {
        throw SaveError("The ROM image is too short: it ends before its text region does.");
    }
    std::copy(laidOut.PointerTable.begin(), laidOut.PointerTable.end(),
              image.begin() + static_cast<std::ptrdiff_t>(header + kPointerTableOffset));
    const auto region = image.subspan(header + kTextRegionOffset, kTextRegionLength);
    std::copy(laidOut.text.begin(), laidOut.text.end(), region.begin());
    // An old terminator behind fewer than 512 strings would be a string of its own
    // at the next load: a row the user never had.
    if (std::count(laidOut.text.begin(), laidOut.text.end(), kTerminator) <
        static_cast<std::ptrdiff_t>(kStringCount)) {
        std::replace(region.begin() + static_cast<std::ptrdiff_t>(laidOut.text.size()),
                     region.end(), kTerminator, std::uint8_t{0});
    }
}

void ApplySave(std::span<std::uint8_t> image, const LaidOutText& laidOut,
               const SaveOptions& options) {
    ApplyLaidOutText(image, laidOut);
    if (options.fixHeaderChecksum) {
        FixHeaderChecksum(image);
    }
}

void CheckRomFile(const std::string& path, RomAccess access) {
    if (path.empty()) {
        throw SaveError("Cannot save: no ROM image is open.");
    }
    const ResolvedFile file = ResolveFile(path);
    if (!file.exists) {
        throw SaveError("Cannot save: " + Quoted(path) + " does not exist.");
    }
    if (file.isFolder) {
        throw SaveError("Cannot save: " + Quoted(path) + " is a folder, not a ROM image.");
    }
    if (!file.isRegular) {
        throw SaveError("Cannot save: " + Quoted(path) + " is not a regular file.");
    }
    const std::size_t end = CopierHeaderLength(file.size) + kTextRegionEnd;
    if (file.size < end) {
        throw SaveError("Cannot save: " + Quoted(path) +
                        " is too short for a ROM image of the game (" + BytesText(file.size) +
                        "; its text region ends at byte " + WithThousands(end) + ").");
    }
    if (file.size > kLargestRomImage) {
        throw SaveError("Cannot save: " + Quoted(path) + " is too large for a ROM image (" +
                        BytesText(file.size) + "; no image holds more than " +
                        BytesText(kLargestRomImage) + ").");
    }
    if (access == RomAccess::kReadWrite && file.readOnly) {
        throw SaveError("Cannot save: " + Quoted(path) + " is read-only.");
    }
}

Bytes SavedImage(const std::string& path, std::span<const StringEntry> rows,
                 const SaveOptions& options, const ProgressFn& progress) {
    const LaidOutText laidOut = LayOutRows(rows, progress);
    CheckRomFile(path, RomAccess::kReadOnly);
    Bytes image = ReadRomForSave(ResolveFile(path).path, path, options.expected);
    ApplySave(image, laidOut, options);
    return image;
}

RomStamp SaveRom(const std::string& path, std::span<const StringEntry> rows,
                 const ProgressFn& progress, const SaveOptions& options) {
    return SaveRom(path, rows, progress, SystemFileOps(), options);
}

Bytes ReadRomForSave(const std::string& path, const std::string& name,
                     const std::optional<RomStamp>& expected) {
    const RegularFile file(path);
    Bytes image = file.readAll(kLargestRomImage);
    if (expected && StampOf(file, ReadRomText(image)) != *expected) {
        throw RomChangedError(name);
    }
    return image;
}

RomStamp WriteSavedRom(const std::string& target, std::span<const std::uint8_t> image, FileOps& ops,
                       std::uint32_t permissions, const std::string& source,
                       const std::optional<RomStamp>& expected) {
    RomStamp written{image.size(), 0, AreasHash(ReadRomText(image))};
    WriteFileAtomically(target, image, ops, permissions, [&](const std::string& tempPath) {
        if (expected) {
            CheckRomUnchanged(source, *expected);
        }
        // The rename keeps the file's time, so the temporary file tells it.
        written.modified = ResolveFile(tempPath).modified;
    });
    return written;
}

RomStamp SaveRom(const std::string& path, std::span<const StringEntry> rows,
                 const ProgressFn& progress, FileOps& ops, const SaveOptions& options) {
    const LaidOutText laidOut = LayOutRows(rows, progress);
    CheckRomFile(path);
    const std::string target = ResolveFile(path).path;
    Bytes image = ReadRomForSave(target, path, options.expected);
    ApplySave(image, laidOut, options);
    return WriteSavedRom(target, image, ops, 0666, path, options.expected);
}

}  // namespace qm
