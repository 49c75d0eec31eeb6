#pragma once
// Display text: the markup as users see and type it once a character map gives
// free codes their characters. Rows keep their markup («Stra{7C}e»), so encoding
// and what a save writes do not change; the list, the edit box, the previews,
// search and the exchange formats show «Straße». Display text is UTF-8, since a
// mapped character may lie beyond Latin-1; positions in it count characters
// (code points).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "markup/charmap.hpp"
#include "markup/encoder.hpp"

namespace qm {

/// The placeholder of code as the loader writes it: «{A}», «{6A}».
std::string Placeholder(std::uint8_t code);

/// The value of a placeholder «{6A}» (one or two hexadecimal digits of either
/// case between braces, the whole of token); nothing for anything else.
std::optional<std::uint8_t> PlaceholderValue(std::string_view token);

/// The display text of a markup text (Latin-1 in, UTF-8 out): each placeholder
/// of a mapped code that stands as a unit of its own («{6A}», or «{6a}») shows as
/// its character; one inside a token's value («(Pause:{A})») stays. With an
/// empty map, the UTF-8 form of markup. Never fails.
std::string MarkupToDisplay(std::string_view markup, const CharacterMap& map);

/// The markup of a display text (UTF-8 in, Latin-1 out): each mapped character
/// outside a token becomes its code's placeholder; every other character stands
/// for itself, for the encoder to judge. Throws TextError for bytes that are not
/// UTF-8, and for a character beyond Latin-1 that the map lacks (the message
/// names it and points to the character map).
std::string DisplayToMarkup(std::string_view display, const CharacterMap& map);

/// What a save would refuse in a display text: the characters DisplayToMarkup
/// refuses, then CheckMarkup's problems of its markup, by position; positions and
/// lengths count characters of display. Empty when the text can be saved.
/// Never fails.
std::vector<MarkupProblem> CheckDisplay(std::string_view display, const CharacterMap& map);

/// Where the markup character at position stands in MarkupToDisplay(markup,
/// map), counted in characters (a position inside a mapped placeholder gives
/// its character's; markup.size() or beyond gives the display text's length).
std::size_t DisplayPosition(std::string_view markup, const CharacterMap& map, std::size_t position);

}  // namespace qm
