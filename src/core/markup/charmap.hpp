#pragma once
// A character map: which character each free code of the game's font stands
// for, once a translator has drawn the letters a language needs into those
// unused tiles. Rows keep their markup («Stra{7C}e»); the map only changes how
// it is shown and typed (markup/display.hpp). Its file is the romhacking
// convention: UTF-8 lines «XX=c».

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

/// Codes that have no meaning of their own: they decode to a placeholder and
/// are no control code (0x0A-0x0C, 0x0E-0x1F, 0x3A, 0x6A-0x72, 0x76-0xFE).
inline constexpr std::size_t kFreeCodeCount = 168;

/// Whether code is one of the kFreeCodeCount free codes.
bool IsFreeCode(std::uint8_t code);

/// The free codes, ascending.
std::vector<std::uint8_t> FreeCodes();

/// Why code cannot stand for a character («the code 20 is "A" in the game's
/// font already»); "" for a free code.
std::string WhyCodeIsTaken(std::uint8_t code);

/// Why c cannot stand for a code: it means something in the markup (an ASCII
/// letter or digit, the space, ! ? . , ' > ( ) { } &) or is a control
/// character; "" when it can.
std::string WhyCharacterIsTaken(char32_t c);

/// The reason the encoder gives for a character the font lacks: «"ß" (U+00DF)
/// is a character the game's font does not have», pointing to the character map
/// when the character could be given a code there.
std::string LackedCharacterReason(char32_t c);

/// Whether c reads as part of a word (a letter or digit) rather than as
/// punctuation: ASCII letters and digits, Latin-1's letters, and beyond Latin-1
/// everything outside the punctuation and symbol blocks (U+2000-U+2BFF,
/// U+3000-U+303F). A word rule, not a full Unicode classification.
bool IsWordCharacter(char32_t c);

/// Which character each free code stands for. A code stands for at most one
/// character and a character for at most one code.
class CharacterMap {
  public:
    /// The character code stands for; 0 when none.
    char32_t characterOf(std::uint8_t code) const { return characters_[code]; }
    /// The code c stands for, if any.
    std::optional<std::uint8_t> codeOf(char32_t c) const;
    /// Makes code stand for c instead of its character before. Throws
    /// ProjectFileError (no line) when code is not free, c cannot stand for a
    /// code (WhyCharacterIsTaken), or c stands for another code already.
    void assign(std::uint8_t code, char32_t c);
    /// code stands for nothing any more.
    void clear(std::uint8_t code);
    std::size_t size() const { return codes_.size(); }
    bool empty() const { return codes_.empty(); }

    bool operator==(const CharacterMap&) const = default;

  private:
    std::array<char32_t, 256> characters_{};
    std::map<char32_t, std::uint8_t> codes_;
};

/// The map a text of «XX=c» lines gives: one or two hexadecimal digits (either
/// case), "=", exactly one character, in UTF-8. Blank lines and lines starting
/// with "#" are skipped; a byte order mark and CR LF line ends are read. Throws
/// ProjectFileError with the line and the reason for text that is not UTF-8, a
/// line of another form, a code that has a meaning already, a character that
/// cannot stand for a code, and a code or character named a second time.
CharacterMap ParseCharacterMap(std::string_view text);

/// The text of a map file: previous's comments and blank lines where they
/// stood, its lines for codes the map still has rewritten with their present
/// characters, lines for codes it lost dropped, and the map's other codes
/// appended in ascending order as «6A=ä». previous is a text ParseCharacterMap
/// took, or empty: then a heading comment starts the text. Lines end in LF.
std::string CharacterMapText(const CharacterMap& map, std::string_view previous = {});

}  // namespace qm
