#pragma once
// The one way a ROM image's text gets into the editor and the command-line tool.

#include <span>
#include <string>
#include <vector>

#include "rom/stamp.hpp"
#include "rom/string_table.hpp"
#include "types.hpp"

namespace qm {

/// A ROM image's rows and the stamp of the file they were read from.
struct LoadedRom {
    std::vector<StringEntry> rows;
    RomStamp stamp;
};

/// LoadRom, with the stamp of what was read: a later save given it refuses to
/// write over a file another program changed meanwhile. Throws as LoadRom does.
LoadedRom LoadRomFile(const std::string& path, const ProgressFn& progress = {});

/// Reads the ROM image at path, splits its text region and builds the string
/// table (ReadRomText, IsolateRomStrings, UpdateStringtable), passing their
/// progress texts to progress. Throws FileError when the path is empty, the file
/// is not a readable regular file, or it is too short to hold the text region.
std::vector<StringEntry> LoadRom(const std::string& path, const ProgressFn& progress = {});

/// The same for an image in memory; a short image reads as zeros beyond its end.
std::vector<StringEntry> LoadRom(std::span<const std::uint8_t> image,
                                 const ProgressFn& progress = {});

}  // namespace qm
