#pragma once
// Reflow: re-breaks the lines of a row that runs past the game's text box, so
// that nobody has to move "(return)" by hand. Only rows that overflow change.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "markup/charmap.hpp"
#include "rom/string_table.hpp"

namespace qm {

/// A markup text with its lines broken anew.
struct ReflowedText {
    std::string text;       ///< the markup
    std::size_t lines = 0;  ///< lines it takes
    std::string longWord;  ///< the first word longer than a line, as written (Latin-1); empty: none

    /// Whether it fits the text box: at most 2 lines and no word too long.
    bool fits() const;
};

/// Breaks markup into lines anew. Its words (runs of anything but spaces and
/// "(return)"; a token, as MarkupTokens reads it, is taken whole, blanks in it
/// included, and stays with the word it touches) keep their order; each line takes the next word
/// while the line, as the preview counts it, stays within 20 columns (a token counts nothing, "..",
/// "'s" and a placeholder as the preview shows them); lines are joined by "(return)" and words on a
/// line by one space. A word longer than a line stands on a line of its own. A text without words
/// comes back as it is. With a character map, a mapped character takes one
/// column, as the preview shows it. Never fails.
ReflowedText ReflowText(std::string_view markup, const CharacterMap& map = CharacterMap());

/// A row Reflow took.
struct ReflowedRow {
    std::size_t index = 0;  ///< 0-based
    StringEntry row;        ///< the row with its reflowed text (portrait and colour kept)
    std::size_t lines = 0;
    std::string longWord;
    bool changed = false;  ///< the text differs from the row's

    bool fits() const;
};

/// ReflowText of every row of scope (0-based indices; those past the table are
/// skipped) whose preview overflows (OverflowLines), ascending; rows that fit
/// are not listed and stay exactly as they are. A row the reflow cannot make fit
/// is listed too, reflowed as far as it goes. rows is not touched. Overflow and
/// columns are counted with map (ReflowText). Never fails.
std::vector<ReflowedRow> ReflowRows(std::span<const StringEntry> rows,
                                    std::span<const std::size_t> scope,
                                    const CharacterMap& map = CharacterMap());

}  // namespace qm
