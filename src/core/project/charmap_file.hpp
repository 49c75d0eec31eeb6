#pragma once
// The character map's file beside the ROM image (NAME.tbl beside NAME.smc), and
// what the window's Character Map dialog shows of a table's free codes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "markup/charmap.hpp"
#include "rom/string_table.hpp"

namespace qm {

/// The largest file taken as a character map: its 168 lines take a few KiB, the
/// rest is room for comments.
inline constexpr std::uintmax_t kLargestCharacterMapFile = 1024 * 1024;

/// NAME.tbl beside the ROM image NAME.smc: romPath with its extension replaced
/// (or ".tbl" added to a name without one).
std::string CharacterMapPathFor(const std::string& romPath);

/// The map in the file at path. Throws FileError when it cannot be read (also:
/// not a regular file, larger than kLargestCharacterMapFile), and
/// ProjectFileError «The character map "story.tbl": line 3: ...» when it is no map.
CharacterMap ReadCharacterMapFile(const std::string& path);

/// The map beside romPath, or nothing when there is no file there. Throws as
/// ReadCharacterMapFile for a file that is there.
std::optional<CharacterMap> ReadCharacterMapBeside(const std::string& romPath);

/// Writes map to path atomically, keeping the comments and the order of lines of
/// the map file that is there (CharacterMapText); a file there that is no map is
/// replaced. Throws FileError; the file is then as it was.
void WriteCharacterMapFile(const std::string& path, const CharacterMap& map);

/// How a table's texts use one free code.
struct FreeCodeUse {
    std::uint8_t code = 0;
    std::size_t uses = 0;  ///< placeholders of it that stand as units of their own
    std::size_t rows = 0;  ///< rows holding at least one

    bool operator==(const FreeCodeUse&) const = default;
};

/// One entry per free code, ascending: how often the rows' texts hold it where a
/// map would show its character (not inside a token's value). Never fails.
std::vector<FreeCodeUse> FreeCodeUsage(std::span<const StringEntry> rows);

}  // namespace qm
