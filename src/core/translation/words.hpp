#pragma once
// The words of a markup text, in the two senses the translator's tools need:
// the pieces Reflow moves and the similarity score counts (tokens and all), and
// the words a dictionary reads (letters only, as the player reads them).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "markup/charmap.hpp"

namespace qm {

/// The words of a markup text as Reflow and the similarity score take them:
/// runs of anything but spaces and "(return)"; a token (MarkupTokens) is taken
/// whole, blanks in it included, and stays with the word it touches, so that
/// «Hi(Pause:5) there» has the words «Hi(Pause:5)» and «there». Never fails.
std::vector<std::string> MarkupWords(std::string_view markup);

/// The letters a word may hold besides A-Z, a-z and the Latin-1 letters: the
/// characters that placeholders show once a character map gives the font's free
/// codes letters («{6A}» read as «ä»). Empty: a placeholder parts words.
class ExtraLetters {
  public:
    ExtraLetters() = default;
    /// The letters of a character map: each mapped character that is a letter
    /// (IsWordCharacter: «ä», «ß», «ᚠ»; not «-» or «–»).
    explicit ExtraLetters(const CharacterMap& map);

    /// The placeholder of code reads as letter (one character, UTF-8) in a word;
    /// an empty letter takes that back.
    void set(std::uint8_t code, std::string letter) { letters_[code] = std::move(letter); }
    /// The letter code's placeholder reads as, or "" when it is none.
    const std::string& of(std::uint8_t code) const { return letters_[code]; }

  private:
    std::array<std::string, 256> letters_;
};

/// A word of a markup text as a dictionary reads it.
struct SpellingWord {
    std::size_t position = 0;  ///< 0-based, in characters of the markup: its first letter
    std::size_t length = 0;    ///< in characters of the markup, up to its last letter's end
    std::string word;          ///< UTF-8: its letters and inner apostrophes, tokens left out

    bool operator==(const SpellingWord&) const = default;
};

/// The words of a markup text that a dictionary can judge, left to right. A word
/// is a run of letters (A-Z, a-z, Latin-1 letters, and placeholders that letters
/// maps) with apostrophes inside it, so the contraction glyphs stay with the word
/// they end («don't», «Rosalind's»). Spaces, punctuation, "(return)" and unmapped
/// placeholders part words; the other tokens («(Pause:5)») part nothing, since the
/// player reads the letters on either side as one word. Apostrophes at a word's
/// edges are no part of it; a run that holds a digit is no word («2nd»), nor is a
/// contraction glyph on its own («'s», «'ll»). Linear in the text's length; never
/// fails.
std::vector<SpellingWord> SpellingWords(std::string_view markup, const ExtraLetters& letters = {});

/// SpellingWords of a display text (UTF-8, as the edit box shows it with a
/// character map: markup/display.hpp), by the same rules: a character beyond
/// ASCII is a letter when IsWordCharacter says so, and a placeholder left in it
/// reads as letters has it (one typed as «{7C}» where the map gives 7C a letter).
/// Positions and lengths count characters (code points) of display, for an
/// underline in the edit box. A byte that is not UTF-8 parts words. Linear in the
/// text's length; never fails.
std::vector<SpellingWord> DisplaySpellingWords(std::string_view display,
                                               const ExtraLetters& letters = {});

/// Whether ending, in any case, is what a contraction glyph leaves after its
/// apostrophe, alone or with the letters that always follow it: «s», «t», «m»,
/// «d», «ll», «ve», «re».
bool IsContractionEnding(std::string_view ending);

}  // namespace qm
