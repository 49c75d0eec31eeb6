#pragma once
// The rows of the string table: one typed value per string of the text region,
// with the bytes it was loaded from.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "markup/helpers.hpp"
#include "markup/portraits.hpp"
#include "types.hpp"

namespace qm {

/// What a row was loaded as: its string's exact game bytes (terminator included)
/// and the portrait, colour and text they showed. No bytes: the row did not come
/// from the file.
struct LoadedForm {
    std::string bytes;
    std::int16_t portrait = kPortraitNone;
    Colour coloured = Colour::Unset;
    std::string text;
    /// How many of bytes are the colour code (2 when coloured is set) and then the
    /// portrait code that the two fields show (0, 2 or 4).
    std::size_t codes = 0;

    bool operator==(const LoadedForm&) const = default;
};

/// One row of the string table.
struct StringEntry {
    std::int16_t Portrait = kPortraitNone;  ///< portrait number, -1..7 (6 is "?")
    Colour Coloured = Colour::Unset;
    std::string Text;           ///< markup text, one byte per char
    std::uint16_t Pointer = 0;  ///< where the string was found, as loaded
    LoadedForm Loaded;

    /// Whether portrait, colour and text are still what the string loaded as.
    bool IsUnchanged() const;

    bool operator==(const StringEntry&) const = default;
};

/// Whether a and b hold the same portrait, colour and text: what a user can
/// change of a row (loaded bytes and pointer do not count).
bool SameContent(const StringEntry& a, const StringEntry& b);

enum Column : int { kColNumber = 0, kColPortrait, kColText, kColColoured, kColPointerValue };
inline constexpr int kColumnCount = 5;
inline constexpr std::array<const char*, kColumnCount> kColumnCaptions = {
    "Number", "Portrait", "Text", "Coloured", "Pointer Value"};

/// The text a column shows for the row at index (0-based): "17", "Rosalind",
/// the markup, "Yes", "0004".
std::string ColumnText(const StringEntry& row, std::size_t index, int column);

/// The colour and portrait codes a save writes in front of a row's text: for
/// each of the two fields the user left as it was loaded, the very bytes it was
/// loaded from (a portrait byte without a name, a colour code other than 0 or 1
/// included); for a changed one, what StringtoQM writes for it. Never fails.
std::string SettingsCodes(const StringEntry& row);

/// The bytes a save writes for a row: the bytes it was loaded from while it is
/// unchanged, so that nothing the user did not touch changes; otherwise
/// SettingsCodes and the encoded text (EncodeWithCodes). Throws EncodeError.
std::string EncodedBytes(const StringEntry& row);

/// After a save: every row of the first 512 now stands in the file as its
/// encoding, so it counts as loaded that way.
void MarkSaved(std::span<StringEntry> rows);

/// Uniform random number in [0, 1); used only for the dots of a status text.
using RandomFn = std::function<double()>;

/// "Parsing ROM Strings And Adding to String Table" followed by floor(3 * r) dots.
std::string ParsingStatus(double r);

/// Builds one row per slot 1..N of RomStrings (as IsolateRomStrings made them
/// from TextBlock) and rewrites each slot k to «origin:TextSettings(text)». Each
/// row keeps its string's bytes from TextBlock. The colour code, then the portrait
/// code, at the very start of a string are the row's Coloured and Portrait; any
/// other colour or portrait code stays in the text in byte form («{5}{1}»). Reports ParsingStatus
/// once per string when progress is set. random defaults to a seeded generator. Never fails.
std::vector<StringEntry> UpdateStringtable(std::vector<std::string>& RomStrings,
                                           std::span<const std::uint8_t> TextBlock,
                                           const ProgressFn& progress = {},
                                           const RandomFn& random = {});

}  // namespace qm
