#pragma once
// Small text facts used across the core: hexadecimal digits, quoting, byte
// counts, Latin-1 <-> UTF-8 and the readable form of a character. Game text is
// held one byte per char (Latin-1); every message the core composes is UTF-8.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qm {

/// The upper-case hexadecimal digit of value & 15.
char HexDigit(unsigned value);

/// The value of a hexadecimal digit of either case, or -1.
int HexValue(char c);

/// Whether a and b are the same letter in any case, or the same byte. Game text
/// has no letters beyond ASCII, so folding A-Z is the whole rule.
constexpr bool SameIgnoringCase(char a, char b) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return fold(a) == fold(b);
}

/// text (UTF-8) with whatever would break a one-line message escaped: a line
/// break as «\n», other control characters U+0000-U+001F and U+007F as «\xNN»,
/// the controls U+0080-U+009F and the line and paragraph separators U+2028 and
/// U+2029 as «\uNNNN», and a byte that is not UTF-8 as «\xNN». Everything else
/// stays as it is. For names of files and for texts quoted in messages.
std::string Escaped(std::string_view text);

/// Escaped(text) between double quotes: «"text"», «"two\nlines.smc"».
std::string Quoted(std::string_view text);

/// text without the spaces and tabs at its start and end.
std::string_view Trimmed(std::string_view text);

/// n with a comma between thousands: 28095 -> «28,095».
std::string WithThousands(std::uintmax_t n);

/// «1 byte», «28,095 bytes».
std::string BytesText(std::uintmax_t n);

/// n and the noun that fits it: «1 row», «0 rows», «14 times».
std::string Counted(std::uintmax_t n, std::string_view singular, std::string_view plural);

/// The most items a message lists before it says how many more there are.
inline constexpr std::size_t kListedItems = 20;

/// heading, then the items one a line, the first kListedItems of them, then
/// «... and M more».
std::string ListedLines(std::string heading, std::span<const std::string> items);

/// Length in bytes (1-4) of the well-formed UTF-8 character that starts at
/// text[pos], or 0 when the bytes there are not one (a stray continuation byte, a
/// truncated sequence, an overlong form, a surrogate, a value above U+10FFFF).
/// pos must be below text.size(). Never throws.
std::size_t Utf8CharLength(std::string_view text, std::size_t pos);

/// Byte offset of the first byte that does not start a well-formed UTF-8
/// character, or std::string_view::npos when the whole text is valid UTF-8.
std::size_t FindInvalidUtf8(std::string_view text);

/// The code point of the well-formed UTF-8 character of length bytes (as
/// Utf8CharLength gave it) at text[pos].
char32_t Utf8CharAt(std::string_view text, std::size_t pos, std::size_t length);

/// The characters of a UTF-8 text. Throws TextError naming the first byte that
/// is not UTF-8.
std::u32string DecodeUtf8(std::string_view utf8);

/// The UTF-8 form of one character, and of a run of characters.
void AppendUtf8(std::string& out, char32_t c);
std::string EncodeUtf8(std::u32string_view text);

/// The UTF-8 form of a Latin-1 text (every byte one character U+0000..U+00FF).
std::string Latin1ToUtf8(std::string_view latin1);

/// The Latin-1 form of a UTF-8 text. Throws TextError naming the first character
/// above U+00FF, or the first byte that is not UTF-8.
std::string Utf8ToLatin1(std::string_view utf8);

/// A character as a message shows it, in UTF-8: «"-"» for printable ASCII,
/// «"é" (U+00E9)» for other printable characters, «U+0009» for control characters.
std::string DescribeCharacter(char32_t c);

/// Little-endian 16-bit values, as the pointer table stores them.
void PutLittleEndian16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value);
std::uint16_t GetLittleEndian16(std::span<const std::uint8_t> bytes, std::size_t at);

}  // namespace qm
