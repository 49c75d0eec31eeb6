#include "commands/find.hpp"

#include <algorithm>

#include "markup/display.hpp"
#include "preview/preview.hpp"

namespace qm {

namespace {

// Game text has no letters beyond ASCII, so folding A-Z is the whole rule.
char foldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool PreviewContains(const std::string& markup, std::string_view needle) {
    if (needle.empty()) {
        return false;
    }
    const std::string haystack = GetPreview(markup);
    const auto found = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                                   [](char a, char b) { return foldCase(a) == foldCase(b); });
    return found != haystack.end();
}

// Folding A-Z leaves every byte of a UTF-8 character as it is, and GetPreview
// cuts only at ASCII characters, so the display text is searched the same way.
bool PreviewContains(const std::string& markup, std::string_view needle, const CharacterMap& map) {
    return PreviewContains(MarkupToDisplay(markup, map), needle);
}

std::optional<std::size_t> FindNextRow(std::span<const StringEntry> rows, std::size_t from,
                                       std::string_view needle) {
    for (std::size_t i = from; i < rows.size(); ++i) {
        if (PreviewContains(rows[i].Text, needle)) {
            return i;
        }
    }
    return std::nullopt;
}

std::string NotFoundMessage(const std::string& searchText) {
    return "'" + searchText + "' wasn't found.";
}

}  // namespace qm
