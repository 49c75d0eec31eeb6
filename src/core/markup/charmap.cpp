#include "markup/charmap.hpp"

#include <algorithm>

#include "errors.hpp"
#include "markup/symbols.hpp"
#include "text.hpp"
#include "types.hpp"

namespace qm {

namespace {

constexpr std::string_view kMarkupCharacters = " !?.,'>(){}&";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string codeText(std::uint8_t code) {
    return std::string{HexDigit(code >> 4u), HexDigit(code)};
}

const Symbol* fixedSymbol(std::uint8_t code) {
    const auto found = std::find_if(kFixedSymbols.begin(), kFixedSymbols.end(),
                                    [code](const Symbol& s) { return s.byte == code; });
    return found == kFixedSymbols.end() ? nullptr : &*found;
}

bool isBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// The code of a «XX=c» line, or nothing when the part before "=" is no code.
std::optional<std::uint8_t> codeOfLine(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == 0 || equals > 2) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : line.substr(0, equals)) {
        if (HexValue(c) < 0) {
            return std::nullopt;
        }
        value = value * 16 + HexValue(c);
    }
    return static_cast<std::uint8_t>(value);
}

// The one character after "=", or why the line is no «XX=c».
char32_t characterOfLine(std::string_view line, std::size_t number) {
    const std::string_view after = line.substr(line.find('=') + 1);
    if (FindInvalidUtf8(line) != std::string_view::npos) {
        throw ProjectFileError(number, "this line is not UTF-8 text");
    }
    if (after.empty()) {
        throw ProjectFileError(number, "no character follows \"=\"");
    }
    const std::size_t length = Utf8CharLength(after, 0);
    if (length != after.size()) {
        throw ProjectFileError(number, "more than one character follows \"=\"");
    }
    return Utf8CharAt(after, 0, length);
}

// Each line of text without its line end, with its 1-based number.
template <typename Each>
void forEachLine(std::string_view text, Each each) {
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    for (std::size_t number = 1; !text.empty(); ++number) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        each(line, number);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
}

}  // namespace

bool IsFreeCode(std::uint8_t code) {
    return WhyCodeIsTaken(code).empty();
}

std::vector<std::uint8_t> FreeCodes() {
    std::vector<std::uint8_t> codes;
    for (int code = 0; code < 256; ++code) {
        if (IsFreeCode(static_cast<std::uint8_t>(code))) {
            codes.push_back(static_cast<std::uint8_t>(code));
        }
    }
    return codes;
}

std::string WhyCodeIsTaken(std::uint8_t code) {
    const std::string named = "the code " + codeText(code);
    if (code == kTerminator) {
        return named + " ends every string";
    }
    if (code <= 9 || code == 0x0D) {
        return named + " is a control code";
    }
    std::string meaning;
    if (IsAsciiLetter(code + kLetterOffset)) {
        meaning = std::string(1, static_cast<char>(code + kLetterOffset));
    } else if (code >= kTextDigitBase && code < kTextDigitBase + 10) {
        meaning = std::string(1, static_cast<char>('0' + code - kTextDigitBase));
    } else if (const Symbol* symbol = fixedSymbol(code)) {
        meaning = symbol->text;
    } else {
        return "";
    }
    return named + " is " + Quoted(meaning) + " in the game's font already";
}

std::string WhyCharacterIsTaken(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
        return DescribeCharacter(c) + " is a control character";
    }
    if (IsAsciiLetter(static_cast<int>(c)) || IsDigit(static_cast<int>(c))) {
        return DescribeCharacter(c) + " is in the game's font already";
    }
    if (c < 0x80 && kMarkupCharacters.find(static_cast<char>(c)) != std::string_view::npos) {
        return DescribeCharacter(c) + " has a meaning in the markup";
    }
    return "";
}

std::string LackedCharacterReason(char32_t c) {
    return DescribeCharacter(c) + " is a character the game's font does not have" +
           (WhyCharacterIsTaken(c).empty() ? ": give it a code in the character map" : "");
}

bool IsWordCharacter(char32_t c) {
    if (c < 0x80) {
        return IsAsciiLetter(static_cast<int>(c)) || IsDigit(static_cast<int>(c));
    }
    if (c < 0x100) {
        return c == 0xAA || c == 0xB5 || c == 0xBA || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
    }
    return !(c >= 0x2000 && c <= 0x2BFF) && !(c >= 0x3000 && c <= 0x303F);
}

std::optional<std::uint8_t> CharacterMap::codeOf(char32_t c) const {
    const auto found = codes_.find(c);
    return found == codes_.end() ? std::nullopt : std::optional(found->second);
}

void CharacterMap::assign(std::uint8_t code, char32_t c) {
    if (std::string why = WhyCodeIsTaken(code); !why.empty()) {
        throw ProjectFileError(0, why);
    }
    if (std::string why = WhyCharacterIsTaken(c); !why.empty()) {
        throw ProjectFileError(0, why);
    }
    if (const auto other = codeOf(c); other && *other != code) {
        throw ProjectFileError(
            0, DescribeCharacter(c) + " stands for the code " + codeText(*other) + " already");
    }
    clear(code);
    characters_[code] = c;
    codes_[c] = code;
}

void CharacterMap::clear(std::uint8_t code) {
    codes_.erase(characters_[code]);
    characters_[code] = 0;
}

CharacterMap ParseCharacterMap(std::string_view text) {
    CharacterMap map;
    std::array<std::size_t, 256> lineOfCode{};
    forEachLine(text, [&](std::string_view line, std::size_t number) {
        if (isBlank(line) || line.front() == '#') {
            return;
        }
        const auto code = codeOfLine(line);
        if (!code) {
            throw ProjectFileError(number,
                                   "this line is not of the form XX=c (one or two "
                                   "hexadecimal digits, \"=\", one character)");
        }
        const char32_t c = characterOfLine(line, number);
        if (lineOfCode[*code] != 0) {
            throw ProjectFileError(number, "the code " + codeText(*code) +
                                               " is named a second time (line " +
                                               std::to_string(lineOfCode[*code]) + ")");
        }
        if (const auto other = map.codeOf(c)) {
            throw ProjectFileError(number, DescribeCharacter(c) + " is named a second time (line " +
                                               std::to_string(lineOfCode[*other]) + ")");
        }
        try {
            map.assign(*code, c);
        } catch (const ProjectFileError& e) {
            throw ProjectFileError(number, e.what());
        }
        lineOfCode[*code] = number;
    });
    return map;
}

std::string CharacterMapText(const CharacterMap& map, std::string_view previous) {
    std::string text;
    if (previous.empty()) {
        text =
            "# Character map: the character each free code of the game's font stands for,\n"
            "# one XX=c a line (the code in hexadecimal, \"=\", the character).\n";
    }
    std::array<bool, 256> written{};
    const auto write = [&](std::uint8_t code) {
        text += codeText(code) + "=";
        AppendUtf8(text, map.characterOf(code));
        text += '\n';
        written[code] = true;
    };
    forEachLine(previous, [&](std::string_view line, std::size_t) {
        if (isBlank(line) || line.front() == '#') {
            text.append(line).append("\n");
        } else if (const auto code = codeOfLine(line);
                   code && map.characterOf(*code) != 0 && !written[*code]) {
            write(*code);
        }
    });
    for (std::uint8_t code : FreeCodes()) {
        if (map.characterOf(code) != 0 && !written[code]) {
            write(code);
        }
    }
    return text;
}

}  // namespace qm
