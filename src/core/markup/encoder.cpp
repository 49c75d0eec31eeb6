#include "markup/encoder.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "errors.hpp"
#include "markup/portraits.hpp"
#include "markup/symbols.hpp"
#include "text.hpp"
#include "types.hpp"

namespace qm {

namespace {

// The working text: a value below 256 is a character still to be read; kFinal +
// b is a byte b that an earlier step produced and no later step reads again.
using Work = std::vector<int>;
constexpr int kFinal = 256;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr const char* kTerminatorReason =
    "is the end-of-string byte 255, which cannot stand inside a text";

bool isChar(int item, char c) {
    return item == static_cast<unsigned char>(c);
}

std::size_t findChar(const Work& w, char c, std::size_t from = 0) {
    for (std::size_t i = from; i < w.size(); ++i) {
        if (isChar(w[i], c)) {
            return i;
        }
    }
    return kNone;
}

bool matchesAt(const Work& w, std::size_t at, std::string_view s) {
    if (at + s.size() > w.size()) {
        return false;
    }
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (!isChar(w[at + i], s[i])) {
            return false;
        }
    }
    return true;
}

std::size_t findText(const Work& w, std::string_view s) {
    for (std::size_t i = 0; i < w.size(); ++i) {
        if (matchesAt(w, i, s)) {
            return i;
        }
    }
    return kNone;
}

// Readable form of part of the working text for a message: final bytes show as
// placeholders.
std::string describe(const Work& w, std::size_t from, std::size_t to) {
    std::string out;
    for (std::size_t i = from; i < std::min(to, w.size()); ++i) {
        if (w[i] < kFinal) {
            out += static_cast<char>(w[i]);
        } else {
            const int b = w[i] - kFinal;
            out += {'{', HexDigit(static_cast<unsigned>(b) >> 4),
                    HexDigit(static_cast<unsigned>(b)), '}'};
        }
    }
    return out;
}

int hexDigit(int c) {
    return c < kFinal ? HexValue(static_cast<char>(c)) : -1;
}

void replace(Work& w, std::size_t from, std::size_t to, const Work& with) {
    w.erase(w.begin() + static_cast<std::ptrdiff_t>(from),
            w.begin() + static_cast<std::ptrdiff_t>(to));
    w.insert(w.begin() + static_cast<std::ptrdiff_t>(from), with.begin(), with.end());
}

// Hexadecimal placeholders «{..}»: one byte, or decimal digits right after ":".
void replacePlaceholders(Work& w) {
    while (findChar(w, '{') != kNone && findChar(w, '}') != kNone) {
        const std::size_t open = findChar(w, '{');
        const std::size_t close = findChar(w, '}', open + 1);
        const std::size_t nextOpen = findChar(w, '{', open + 1);
        if (close == kNone || (nextOpen != kNone && nextOpen < close)) {
            throw EncodeError(describe(w, open, nextOpen == kNone ? w.size() : nextOpen),
                              "has no closing \"}\"");
        }
        // Reading stops at the first non-hex character; no digits give 0.
        int value = 0;
        for (std::size_t i = open + 1; i < close && hexDigit(w[i]) >= 0; ++i) {
            value = std::min(value * 16 + hexDigit(w[i]), 0x1000);
        }
        if (value > 255) {
            throw EncodeError(describe(w, open, close + 1), "is not a value from 0 to 255");
        }
        Work with;
        // 255 ends a string: inside a text it would split the row in two on the
        // next load and shift every row after it.
        if (value == kTerminator && !(open > 0 && isChar(w[open - 1], ':'))) {
            throw EncodeError(describe(w, open, close + 1), kTerminatorReason);
        }
        if (open > 0 && isChar(w[open - 1], ':')) {
            for (char c : std::to_string(value)) {
                with.push_back(static_cast<unsigned char>(c));
            }
        } else {
            with.push_back(kFinal + value);
        }
        replace(w, open, close + 1, with);
    }
    // What is left is a brace without its partner: the typist meant a placeholder.
    for (char brace : {'{', '}'}) {
        const std::size_t at = findChar(w, brace);
        if (at != kNone) {
            throw EncodeError(describe(w, at, std::min(at + 8, w.size())),
                              brace == '{' ? "has no closing \"}\"" : "has no opening \"{\"");
        }
    }
}

// The decimal value of a token argument, blanks around it ignored, a fraction
// rounded down; nothing when it is no number.
std::optional<int> argumentValue(const Work& w, std::size_t from, std::size_t to) {
    while (from < to && isChar(w[from], ' '))
        ++from;
    while (to > from && isChar(w[to - 1], ' '))
        --to;
    std::size_t i = from;
    int value = 0;
    for (; i < to && w[i] >= '0' && w[i] <= '9'; ++i) {
        value = std::min(value * 10 + (w[i] - '0'), 100000);
    }
    if (i == from) {
        return std::nullopt;
    }
    if (i < to && isChar(w[i], '.')) {
        for (++i; i < to && w[i] >= '0' && w[i] <= '9'; ++i) {
        }
    }
    if (i != to) {
        return std::nullopt;
    }
    return value;
}

struct Token {
    std::string_view opening;
    int code;
};
constexpr std::array<Token, 3> kTokens = {{{"(Pause:", 1}, {"(TextSpeed:", 2}, {"(Animation:", 3}}};

// Argument tokens, all pauses first, then text speeds, then animations.
void replaceTokens(Work& w) {
    for (const auto& token : kTokens) {
        for (std::size_t at = findText(w, token.opening); at != kNone;
             at = findText(w, token.opening)) {
            const std::size_t argument = at + token.opening.size();
            const std::size_t close = findChar(w, ')', argument);
            if (close == kNone) {
                throw EncodeError(describe(w, at, std::min(argument + 8, w.size())),
                                  "has no closing \")\"");
            }
            const auto value = argumentValue(w, argument, close);
            if (!value) {
                throw EncodeError(describe(w, at, close + 1), "has no number");
            }
            if (*value > 255) {
                throw EncodeError(describe(w, at, close + 1), "is not a value from 0 to 255");
            }
            if (*value == kTerminator) {
                throw EncodeError(describe(w, at, close + 1), kTerminatorReason);
            }
            replace(w, at, close + 1, {kFinal + token.code, kFinal + *value});
        }
    }
}

// A text element's byte and its length in characters; length 0: no element.
struct Element {
    std::uint8_t byte = 0;
    std::size_t length = 0;
};

// The second character of the contractions "'v", "'l", ... and their bytes.
constexpr std::array<std::pair<char, std::uint8_t>, 6> kContractions = {
    {{'v', 0x5D}, {'l', 0x3B}, {'m', 0x3C}, {'r', 0x3D}, {'s', 0x3E}, {'t', 0x3F}}};

// The text element that starts at w[i]. "(return)" is taken whole, and a
// two-character element before its first character alone.
Element elementAt(const Work& w, std::size_t i) {
    switch (w[i]) {
        case '(': return matchesAt(w, i, "(return)") ? Element{0x0D, 8} : Element{};
        case '.': return matchesAt(w, i, "..") ? Element{0x5E, 2} : Element{0x5C, 1};
        case '!': return {0x74, 1};
        case '?': return {0x73, 1};
        case ',': return {0x5B, 1};
        case ' ': return {0x5F, 1};
        case '>': return {0x75, 1};
        case '\'':
            for (const auto& [second, byte] : kContractions) {
                if (i + 1 < w.size() && isChar(w[i + 1], second)) {
                    return {byte, 2};
                }
            }
            return {0x5A, 1};
        default: return {};
    }
}

// Text elements, left to right; returns the body's bytes.
std::string encodeElements(const Work& w) {
    std::string out;
    out.reserve(w.size());
    for (std::size_t i = 0; i < w.size();) {
        const int c = w[i];
        if (c >= kFinal) {
            out += static_cast<char>(c - kFinal);
            ++i;
            continue;
        }
        if (const Element element = elementAt(w, i); element.length > 0) {
            out += static_cast<char>(element.byte);
            i += element.length;
            continue;
        }
        if (c >= 128) {
            throw EncodeError(describe(w, i, i + 1), "is a character the game font does not have");
        }
        if (c >= '0' && c <= '9') {
            out += static_cast<char>(0x60 + (c - '0'));
        } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            out += static_cast<char>(c - 33);
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out;
}

}  // namespace

std::string StringtoQM(std::int16_t Portrait, Colour coloured, std::string_view text) {
    Work w(text.begin(), text.end());
    for (auto& item : w) {
        item = static_cast<unsigned char>(item);
    }
    replacePlaceholders(w);
    replaceTokens(w);
    std::string result;
    if (coloured != Colour::Unset) {
        result += '\x05';
        result += coloured == Colour::Yes ? '\x01' : '\x00';
    }
    if (const auto portraitByte = PortraitByte(Portrait)) {
        result += '\x04';
        result += static_cast<char>(*portraitByte);
    }
    result += encodeElements(w);
    result += static_cast<char>(kTerminator);
    return result;
}

}  // namespace qm
