#pragma once
// Markup text to game bytes. The markup is strict: the encoder takes exactly the
// font's symbols, "(return)", the three argument tokens with a value 0-254, and
// placeholders of one or two hexadecimal digits with a value 0-254, and a
// control code that takes a value (a placeholder «{1}» to «{5}») must not end the
// text, where the game would read the terminator as its value. CheckMarkup
// and StringtoQM share one reading of the text, so what the edit box marks is
// what a save refuses.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "markup/helpers.hpp"

namespace qm {

/// Something in a markup text that the game cannot hold.
struct MarkupProblem {
    std::size_t position = 0;  ///< 0-based, in characters of the text
    std::size_t length = 1;
    std::string reason;  ///< UTF-8: «"-" is a character the game's font does not have»

    bool operator==(const MarkupProblem&) const = default;
};

/// Every problem of a markup text, left to right; none when StringtoQM takes it.
std::vector<MarkupProblem> CheckMarkup(std::string_view text);

/// A token of a markup text: a piece the encoder reads as one unit.
struct MarkupToken {
    std::size_t position = 0;  ///< 0-based, in characters of the text
    std::size_t length = 0;
};

/// The tokens of a markup text, left to right: every "(return)", "(Pause:5)",
/// "(TextSpeed:{A})", "(Animation:3)" and placeholder ("{A}", "{1F}"), and every
/// piece the encoder refuses as one that starts with "(" or "{" (a misspelt
/// token, a placeholder that is none). A lone "(" or "{" is no token. Never fails.
std::vector<MarkupToken> MarkupTokens(std::string_view text);

/// Encodes one row into game bytes, held one byte per char: the colour code
/// (unless coloured is Unset; Other writes 0), the portrait code (numbers 0-5
/// and 7), the body and the terminator 255. Throws EncodeError for the first
/// problem CheckMarkup finds, without returning any bytes.
std::string StringtoQM(std::int16_t Portrait, Colour coloured, std::string_view text);

/// The colour code StringtoQM puts first: 5, 1 for Yes; 5, 0 for No and Other;
/// nothing for Unset. Never fails.
std::string ColourCode(Colour coloured);

/// The portrait code StringtoQM puts after it: 4 and the portrait byte for the
/// numbers 0-5 and 7; nothing for the others. Never fails.
std::string PortraitCode(std::int16_t Portrait);

/// codes (the colour and portrait codes, as bytes), the encoded text and the
/// terminator: StringtoQM with codes of the caller's choosing, such as a row's
/// codes as it was loaded. Throws EncodeError as StringtoQM does.
std::string EncodeWithCodes(std::string_view codes, std::string_view text);

}  // namespace qm
