#include "markup/markup.hpp"

#include "markup/symbols.hpp"

namespace qm {

namespace {

const char* openingFor(char marker) {
    switch (marker) {
        case '@': return "(Pause:";
        case '#': return "(TextSpeed:";
        case '$': return "(Animation:";
        default: return nullptr;
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the argument at text[i]: 1 for a digit, 3 for «{A}»..«{F}», 0 otherwise.
std::size_t argumentLength(const std::string& text, std::size_t i) {
    if (i < text.size() && isDigit(text[i])) {
        return 1;
    }
    if (i + 2 < text.size() && text[i] == '{' && text[i + 1] >= 'A' && text[i + 1] <= 'F' &&
        text[i + 2] == '}') {
        return 3;
    }
    return 0;
}

}  // namespace

std::string Good(std::string text) {
    // Tokens hold no marker, so one left-to-right pass gives the same text as
    // rescanning from the start after every replacement.
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size();) {
        const char* opening = openingFor(text[i]);
        const std::size_t argument = opening ? argumentLength(text, i + 1) : 0;
        if (argument > 0) {
            out += opening;
            out.append(text, i + 1, argument);
            out += ')';
            i += 1 + argument;
            continue;
        }
        if (text[i] == '{') {
            // A placeholder's digits spell its byte: copy it whole.
            const auto close = text.find('}', i);
            const std::size_t end = close == std::string::npos ? text.size() : close + 1;
            out.append(text, i, end - i);
            i = end;
            continue;
        }
        if (text[i] == '&' && i + 1 < text.size() && isDigit(text[i + 1])) {
            out += text[i + 1];  // a text digit
            i += 2;
            continue;
        }
        if (isDigit(text[i])) {
            // A control byte that formed no token. As a plain digit it would be
            // saved as a text digit; as a placeholder it is saved as itself.
            out += '{';
            out += text[i];
            out += '}';
        } else if (text[i] != '&') {
            out += text[i];
        }
        ++i;
    }
    return out;
}

std::string LineBreaksAsReturns(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += kReturnToken;
            i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace qm
