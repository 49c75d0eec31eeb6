#pragma once
// What a translator needs to know of each row: whether it still says what the
// original ROM image says, whether its preview runs past the game's text box,
// whether a save would refuse it, and whether the file holds it yet. Each derives
// from a rule that exists already (the preview's overflow marks, the encoder's
// problems, the loaded form), never from a second one.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "markup/charmap.hpp"
#include "markup/encoder.hpp"
#include "rom/string_table.hpp"
#include "translation/review.hpp"

namespace qm {

/// A row against the original's row of the same index.
enum class Translation : std::uint8_t {
    NoOriginal,    ///< no original is open, or it has no row of that index
    Untranslated,  ///< portrait, text and colour equal the original's
    Translated,    ///< one of them differs
};

/// Whether row still says what original says: the same portrait, text and colour
/// (loaded bytes and pointer do not matter).
bool SameAsOriginal(const StringEntry& row, const StringEntry& original);

/// One line of a preview that does not fit the game's text box.
struct OverflowLine {
    std::size_t line = 0;  ///< 1-based
    /// The line as the player sees it: preview text, Latin-1 from the functions
    /// without a character map, UTF-8 display text from those with one.
    std::string text;
    std::size_t over = 0;  ///< its characters that OverflowRanges marks (the preview's red)

    bool operator==(const OverflowLine&) const = default;
};

/// The lines of PreviewText(markup), split at its line breaks.
std::vector<std::string> PreviewLines(std::string_view markup);
/// The lines of DisplayPreviewText(markup, map), in UTF-8.
std::vector<std::string> PreviewLines(std::string_view markup, const CharacterMap& map);

/// The lines of PreviewText(markup) holding characters that OverflowRanges marks,
/// top down, each with the count of its marked characters: a line of 23 has 3
/// over, every line from the third on has all its characters over. Line breaks
/// are not counted. Empty when the preview fits the box. Never fails.
std::vector<OverflowLine> OverflowLines(std::string_view markup);
/// The same for the display text with a character map: a mapped character is
/// one column, the lines' texts are UTF-8 and "over" counts characters.
std::vector<OverflowLine> OverflowLines(std::string_view markup, const CharacterMap& map);

/// Everything a row's marks in the list say.
struct RowState {
    Translation translation = Translation::NoOriginal;
    std::vector<OverflowLine> overflow;      ///< OverflowLines of the text
    std::optional<MarkupProblem> problem;    ///< SaveProblem: why a save would refuse it
    bool changed = false;                    ///< not yet in the file: !IsUnchanged()
    ReviewState review = ReviewState::None;  ///< the row's review state (project file)
    /// How many warnings the checks against the original give it (checks.hpp),
    /// ignored ones left out; whoever runs the checks sets it.
    std::size_t warnings = 0;

    bool untranslated() const { return translation == Translation::Untranslated; }
    bool translated() const { return translation == Translation::Translated; }
    bool overflows() const { return !overflow.empty(); }
    bool unsaveable() const { return problem.has_value(); }

    bool operator==(const RowState&) const = default;
};

/// The state of row; original is the original's row of the same index, or
/// nullptr without one. Costs one preview and, for a changed row, one encoder
/// check: cheap enough for every keystroke. Never fails.
RowState StateOf(const StringEntry& row, const StringEntry* original);
/// StateOf with the overflow counted in display text (OverflowLines with map),
/// and the row's review state.
RowState StateOf(const StringEntry& row, const StringEntry* original, const CharacterMap& map,
                 ReviewState review = ReviewState::None);

/// StateOf every row, row k against original[k] (rows past the original's end,
/// and all rows when original is empty, have none).
std::vector<RowState> StatesOf(std::span<const StringEntry> rows,
                               std::span<const StringEntry> original);
/// StatesOf with the overflow counted in display text and each row's review
/// state from reviews (StateOf with map).
std::vector<RowState> StatesOf(std::span<const StringEntry> rows,
                               std::span<const StringEntry> original, const CharacterMap& map,
                               const Reviews& reviews = {});

struct StateCounts {
    std::size_t rows = 0;
    std::size_t compared = 0;  ///< rows with an original row (translated + untranslated)
    std::size_t translated = 0;
    std::size_t untranslated = 0;
    std::size_t overflow = 0;
    std::size_t unsaveable = 0;
    std::size_t changed = 0;
    ReviewCounts reviews;
    std::size_t warnings = 0;  ///< of every row together

    bool operator==(const StateCounts&) const = default;
};

StateCounts CountStates(std::span<const RowState> states);

/// The status bar's summary, UTF-8: «143 of 512 translated · 3 overflow · 1 cannot
/// be saved», where 512 counts the rows compared with an original. The first part
/// only when some row was compared; «· 12 need review · 300 approved» at the end
/// once some row has a review state. Zero counts are shown too («0 overflow»),
/// so the text keeps its shape as one works.
std::string StatusText(const StateCounts& counts);

}  // namespace qm
