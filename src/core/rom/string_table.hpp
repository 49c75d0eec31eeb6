#pragma once
// Turning decoded strings into the rows of the string table.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "rom/layout.hpp"

namespace qm {

/// One row of the string table; every column is text.
struct StringEntry {
    std::string Number;
    std::string Portrait;
    std::string Text;
    std::string Coloured;
    std::string PointerValue;

    bool operator==(const StringEntry&) const = default;
};

enum Column : int { kColNumber = 0, kColPortrait, kColText, kColColoured, kColPointerValue };
inline constexpr int kColumnCount = 5;
inline constexpr std::array<const char*, kColumnCount> kColumnCaptions = {
    "Number", "Portrait", "Text", "Coloured", "Pointer Value"};

/// The text of column c (0..4) of a row, and a writable reference to it.
const std::string& columnText(const StringEntry& row, int column);
std::string& columnText(StringEntry& row, int column);

/// Uniform random number in [0, 1); used only for the dots of a status text.
using RandomFn = std::function<double()>;

/// "Parsing ROM Strings And Adding to String Table" followed by floor(3 * r) dots.
std::string ParsingStatus(double r);

/// Builds one row per slot 1..N of RomStrings and rewrites each slot k to
/// «origin:TextSettings(text)». Reports ParsingStatus once per string when progress
/// is set. random defaults to a seeded generator. Never fails.
std::vector<StringEntry> UpdateStringtable(std::vector<std::string>& RomStrings,
                                           const ProgressFn& progress = {},
                                           const RandomFn& random = {});

/// Reads, splits and builds the table of the ROM image at path in one go, without
/// progress reports. Throws FileError as ReadRomText does.
std::vector<StringEntry> LoadStringTable(const std::string& path);

}  // namespace qm
