#pragma once
// Noticing another writer: what a ROM image was like when it was read, and
// whether the file on disk is still so. A save given a stamp refuses to write
// over a file that no longer matches it (save/writer.hpp).

#include <cstdint>
#include <string>

#include "errors.hpp"
#include "files.hpp"
#include "rom/reader.hpp"

namespace qm {

/// A ROM image as it was read: its size and modification time, and a hash of its
/// pointer table and text region.
struct RomStamp {
    std::uintmax_t size = 0;
    std::int64_t modified = 0;    ///< RegularFile::modified() of the file read
    std::uint64_t areasHash = 0;  ///< AreasHash of the two areas read

    bool operator==(const RomStamp&) const = default;
};

/// A 64-bit hash (FNV-1a) of the pointer table, then the text region. Never fails.
std::uint64_t AreasHash(const RomText& text);

/// The stamp of an image read from file, whose areas are text. Never fails.
RomStamp StampOf(const RegularFile& file, const RomText& text);

/// Whether the ROM image at path is still the one stamp describes: the same size
/// and modification time (touching the file counts as a change) and the same
/// bytes in both areas. Throws FileError when the file cannot be opened or read
/// (gone, say, or a folder now).
bool RomFileMatches(const std::string& path, const RomStamp& stamp);

/// Throws FileChangedError «"NAME" was changed by another program since it was
/// read; nothing was written.» unless RomFileMatches(path, stamp); FileError as
/// that does.
void CheckRomUnchanged(const std::string& path, const RomStamp& stamp);

/// The FileChangedError CheckRomUnchanged throws for path.
FileChangedError RomChangedError(const std::string& path);

}  // namespace qm
