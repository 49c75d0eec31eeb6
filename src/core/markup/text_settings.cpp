#include "markup/text_settings.hpp"

namespace qm {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Class W: what stands in words and sentences around a code.
bool isWord(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '?' || c == '\'' || c == '!' ||
           c == '(' || c == ')' || c == ',' || c == ' ';
}

bool isWordOrDot(char c) {
    return isWord(c) || c == '.';
}

bool isUpperHexLetter(char c) {
    return c >= 'A' && c <= 'F';
}

// Whether a run boundary falls between two neighbouring characters. Besides the
// digit/word/dot/brace pairs, every "&" that does not stand first starts a run: a
// text digit is one unit, so it can never shift a control code that follows it.
bool separates(char a, char b) {
    return (isDigit(a) && isWord(b)) || (isWord(a) && isDigit(b)) || (a == '.' && isDigit(b)) ||
           (isDigit(a) && b == '.') || (a == '}' && isWordOrDot(b)) ||
           (isWordOrDot(a) && b == '{') || b == '&';
}

char markerFor(char digit) {
    switch (digit) {
        case '1': return '@';
        case '2': return '#';
        case '3': return '$';
        case '4': return '%';
        case '5': return '^';
        default: return digit;
    }
}

// A control code starts at i: two digits, or a digit and a one-letter placeholder.
bool startsCode(const std::string& s, std::size_t i) {
    if (!isDigit(s[i])) {
        return false;
    }
    if (i + 1 < s.size() && isDigit(s[i + 1])) {
        return true;
    }
    return i + 3 < s.size() && s[i + 1] == '{' && isUpperHexLetter(s[i + 2]) && s[i + 3] == '}';
}

}  // namespace

std::string TextSettings(std::string stext) {
    // Runs are found on the fly; only positions at an even distance from the start
    // of their run (odd positions, counting from 1) can hold a control digit.
    // Boundaries are decided on the original characters, before any marker.
    std::size_t runStart = 0;
    char previous = '\0';
    bool inPlaceholder = false;  // after a "{" that has not been closed yet
    for (std::size_t i = 0; i < stext.size(); ++i) {
        const char current = stext[i];
        if (i > 0 && separates(previous, current)) {
            runStart = i;
        }
        // The digits of a placeholder such as «{16}» spell one byte: never a code.
        if (current == '{') {
            inPlaceholder = true;
        } else if (current == '}') {
            inPlaceholder = false;
        } else if (!inPlaceholder && (i - runStart) % 2 == 0 && startsCode(stext, i)) {
            stext[i] = markerFor(current);
        }
        previous = current;
    }
    return stext;
}

}  // namespace qm
