#include "rom/decoder.hpp"

#include "markup/symbols.hpp"
#include "text.hpp"

namespace qm {

void appendDecoded(std::string& out, std::uint8_t code) {
    const int letter = code + kLetterOffset;
    if (IsAsciiLetter(letter)) {
        out += static_cast<char>(letter);
        return;
    }
    const int digit = code - 48;
    if (IsDigit(digit)) {
        out += '&';
        out += static_cast<char>(digit);
        return;
    }
    for (const auto& symbol : kFixedSymbols) {
        if (symbol.byte == code) {
            out += symbol.text;
            return;
        }
    }
    if (code <= 9) {
        out += static_cast<char>('0' + code);
        return;
    }
    out += '{';
    if (code >= 0x10) {
        out += HexDigit(code >> 4);
    }
    out += HexDigit(code);
    out += '}';
}

std::string toascii(std::uint8_t code) {
    std::string out;
    appendDecoded(out, code);
    return out;
}

}  // namespace qm
