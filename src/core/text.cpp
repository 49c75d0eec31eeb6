#include "text.hpp"

#include "errors.hpp"

namespace qm {

char HexDigit(unsigned value) {
    return "0123456789ABCDEF"[value & 0x0F];
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

namespace {

void appendHex(std::string& out, char32_t value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        out += HexDigit(static_cast<unsigned>(value >> shift));
    }
}

}  // namespace

std::string Escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = Utf8CharLength(text, i);
        const char32_t c = length == 0 ? byte : Utf8CharAt(text, i, length);
        if (c == '\n') {
            out += "\\n";
        } else if (length == 0 || c < 0x20 || c == 0x7F) {
            out += "\\x";
            appendHex(out, byte, 2);
        } else if ((c >= 0x80 && c < 0xA0) || c == 0x2028 || c == 0x2029) {
            out += "\\u";  // Qt and terminals may break a line at these
            appendHex(out, c, 4);
        } else {
            out.append(text, i, length);
        }
        i += length == 0 ? 1 : length;
    }
    return out;
}

std::string Quoted(std::string_view text) {
    return "\"" + Escaped(text) + "\"";
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t");
    return first == std::string_view::npos ? std::string_view()
                                           : text.substr(first, last - first + 1);
}

std::string WithThousands(std::uintmax_t n) {
    std::string digits = std::to_string(n);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    }
    return digits;
}

std::string BytesText(std::uintmax_t n) {
    return Counted(n, "byte", "bytes");
}

std::string Counted(std::uintmax_t n, std::string_view singular, std::string_view plural) {
    return WithThousands(n) + " " + std::string(n == 1 ? singular : plural);
}

std::string ListedLines(std::string heading, std::span<const std::string> items) {
    for (std::size_t i = 0; i < items.size() && i < kListedItems; ++i) {
        heading += "\n" + items[i];
    }
    if (items.size() > kListedItems) {
        heading += "\n... and " + std::to_string(items.size() - kListedItems) + " more";
    }
    return heading;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string EncodeUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        AppendUtf8(out, c);
    }
    return out;
}

std::size_t Utf8CharLength(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    // Limits on the second byte rule out overlong forms, surrogates and values
    // above U+10FFFF (the table of well-formed sequences in the Unicode standard).
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() - pos < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

std::size_t FindInvalidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8CharLength(text, pos);
        if (length == 0) {
            return pos;
        }
        pos += length;
    }
    return std::string_view::npos;
}

char32_t Utf8CharAt(std::string_view text, std::size_t pos, std::size_t length) {
    auto c = static_cast<char32_t>(static_cast<unsigned char>(text[pos]) &
                                   (length == 1 ? 0x7F : 0x3F >> (length - 1)));
    for (std::size_t k = 1; k < length; ++k) {
        c = (c << 6) | (static_cast<unsigned char>(text[pos + k]) & 0x3F);
    }
    return c;
}

std::u32string DecodeUtf8(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = Utf8CharLength(utf8, i);
        if (length == 0) {
            throw TextError("byte " + std::to_string(i + 1) + " is not UTF-8");
        }
        out += Utf8CharAt(utf8, i, length);
        i += length;
    }
    return out;
}

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (unsigned char c : latin1) {
        AppendUtf8(out, c);
    }
    return out;
}

std::string Utf8ToLatin1(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = Utf8CharLength(utf8, i);
        if (length == 0) {
            throw TextError("byte " + std::to_string(i + 1) + " is not UTF-8");
        }
        const char32_t c = Utf8CharAt(utf8, i, length);
        if (c > 0xFF) {
            throw TextError(DescribeCharacter(c) + " is a character no game text can hold");
        }
        out += static_cast<char>(c);
        i += length;
    }
    return out;
}

std::string DescribeCharacter(char32_t c) {
    std::string code = "U+";
    for (int shift = c > 0xFFFF ? 20 : 12; shift >= 0; shift -= 4) {
        code += HexDigit(static_cast<unsigned>(c >> shift));
    }
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
        return code;
    }
    std::string shown = "\"";
    AppendUtf8(shown, c);
    shown += '"';
    return c < 0x7F ? shown : shown + " (" + code + ")";
}

void PutLittleEndian16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t GetLittleEndian16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

}  // namespace qm
