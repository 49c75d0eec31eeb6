#pragma once
// What the game's text box would show of a markup text: tokens hidden, line
// breaks where "(return)" stands, and which characters do not fit the box.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "markup/charmap.hpp"

namespace qm {

/// The game's text box holds 2 lines of 20 characters.
inline constexpr std::size_t kPreviewLineCount = 2;
inline constexpr std::size_t kPreviewLineLength = 20;

/// A line break in preview text. One character, so that a position in the
/// preview text is the same position in a text document showing it.
inline constexpr char kPreviewLineBreak = '\n';

/// Display form of a markup text: every "(return)" becomes one space, then each
/// stretch from the first "(" to the first ")" after it is removed, repeatedly.
/// A "(" with no ")" after it stays, and so does everything from it on.
/// Linear in the text's length; never fails.
std::string GetPreview(std::string text);

/// The text the preview box shows for an edit box's markup: every "(return)"
/// becomes kPreviewLineBreak, then GetPreview.
std::string PreviewText(std::string_view markup);

/// PreviewText of the display text of markup (MarkupToDisplay): UTF-8, a mapped
/// character one character where its placeholder would be four.
std::string DisplayPreviewText(std::string_view markup, const CharacterMap& map);

/// A run of characters in preview text, by 0-based start and length.
struct TextRange {
    std::size_t start = 0;
    std::size_t length = 0;

    bool operator==(const TextRange&) const = default;
};

/// The runs of previewText that do not fit the text box, in marking order: all
/// of line 3 onwards (when there is a line 3), then, for each line that is
/// longer than 20 characters, its characters from the 21st to the line's end.
/// Runs may overlap. Empty runs are never returned.
std::vector<TextRange> OverflowRanges(std::string_view previewText);

/// The same for a display preview decoded into characters (DecodeUtf8 of
/// DisplayPreviewText): every character one column, runs counted in characters.
std::vector<TextRange> OverflowRanges(std::u32string_view previewText);

}  // namespace qm
