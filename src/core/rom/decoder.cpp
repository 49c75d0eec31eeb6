#include "rom/decoder.hpp"

namespace qm {

namespace {

// The fixed entries, in the order the decoder tests them.
struct Fixed {
    std::uint8_t code;
    const char* text;
};
constexpr Fixed kFixed[] = {
    {0x74, "!"},  {0x73, "?"},        {0x5E, ".."}, {0x5D, "'v"}, {0x5C, "."},
    {0x5B, ","},  {0x0D, "(return)"}, {0x3B, "'l"}, {0x3C, "'m"}, {0x3D, "'r"},
    {0x3E, "'s"}, {0x3F, "'t"},       {0x75, ">"},  {0x5A, "'"},  {0x5F, " "},
};

bool isAsciiLetter(int c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

void appendDecoded(std::string& out, std::uint8_t code) {
    const int letter = code + 33;
    if (isAsciiLetter(letter)) {
        out += static_cast<char>(letter);
        return;
    }
    const int digit = code - 48;
    if (digit >= '0' && digit <= '9') {
        out += '&';
        out += static_cast<char>(digit);
        return;
    }
    for (const auto& entry : kFixed) {
        if (entry.code == code) {
            out += entry.text;
            return;
        }
    }
    if (code <= 9) {
        out += static_cast<char>('0' + code);
        return;
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += '{';
    if (code >= 0x10) {
        out += kHex[code >> 4];
    }
    out += kHex[code & 0x0F];
    out += '}';
}

std::string toascii(std::uint8_t code) {
    std::string out;
    appendDecoded(out, code);
    return out;
}

}  // namespace qm
