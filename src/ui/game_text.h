#pragma once
// Game text at the Qt boundary: one byte per character, Latin-1. A character
// above U+00FF would silently turn into "?", so callers check first.

#include <QString>
#include <optional>
#include <string>

namespace qm {

/// The first character of text that no game text can hold, if any.
inline std::optional<char32_t> FirstBeyondLatin1(const QString& text) {
    for (const char32_t c : text.toUcs4()) {
        if (c > 0xFF) {
            return c;
        }
    }
    return std::nullopt;
}

/// The Latin-1 bytes of text, or nothing when it holds a character beyond them.
inline std::optional<std::string> ToGameText(const QString& text) {
    if (FirstBeyondLatin1(text)) {
        return std::nullopt;
    }
    return text.toLatin1().toStdString();
}

inline QString FromGameText(const std::string& text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

}  // namespace qm
