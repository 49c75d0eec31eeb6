#include "exchange/po_scan.hpp"

#include <cctype>

#include "text.hpp"

namespace qm {

namespace {

bool isOctal(char c) {
    return c >= '0' && c <= '7';
}

/// Whether the escape whose backslash is at text[at] stands for a NUL, as
/// gettext's lexer reads it: up to three octal digits, or \x and any number of
/// hexadecimal digits, each kept as one byte (so \400 and \x100 are NULs too).
/// Moves at to the escape's last character.
bool escapesNul(std::string_view text, std::size_t& at) {
    if (++at >= text.size()) {
        return false;
    }
    if (text[at] == '\0' || text[at] == '\n') {
        --at;  // not part of an escape: the scan looks at it on its own
        return false;
    }
    unsigned value = 1;
    if (isOctal(text[at])) {
        value = 0;
        for (int digits = 0; digits < 3 && at < text.size() && isOctal(text[at]); ++digits) {
            value = (value * 8 + unsigned(text[at++] - '0')) & 0xFF;
        }
        --at;
    } else if (text[at] == 'x' && at + 1 < text.size() && HexValue(text[at + 1]) >= 0) {
        value = 0;
        while (at + 1 < text.size() && HexValue(text[at + 1]) >= 0) {
            value = (value * 16 + unsigned(HexValue(text[++at]))) & 0xFF;
        }
    }
    return value == 0;
}

bool isWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$';
}

}  // namespace

PoScan ScanPo(std::string_view text) {
    PoScan found;
    int line = 1;
    bool inString = false;
    bool inComment = false;
    for (std::size_t i = 0; i < text.size() && found.nulLine == 0; ++i) {
        const char c = text[i];
        if (c == '\0') {
            found.nulLine = line;
        } else if (c == '\n') {
            ++line;
            ++found.counts.lines;
            inString = inComment = false;
        } else if (inString) {
            inString = c != '"';
            if (c == '\\' && escapesNul(text, i)) {
                found.nulLine = line;
            }
        } else if (!inComment) {
            // «#~» and «#|» lines hold entries; other «#» lines are comments.
            const char next = i + 1 < text.size() ? text[i + 1] : '\n';
            inComment = c == '#' && next != '~' && next != '|';
            inString = c == '"';
            found.counts.entries += text.substr(i).starts_with("msgid") &&
                                    (i == 0 || !isWordChar(text[i - 1])) &&
                                    (i + 5 == text.size() || !isWordChar(text[i + 5]));
        }
    }
    return found;
}

}  // namespace qm
