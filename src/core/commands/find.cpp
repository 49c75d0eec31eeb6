#include "commands/find.hpp"

#include <algorithm>

#include "markup/display.hpp"
#include "preview/preview.hpp"
#include "text.hpp"

namespace qm {

bool PreviewContains(const std::string& markup, std::string_view needle) {
    if (needle.empty()) {
        return false;
    }
    const std::string haystack = GetPreview(markup);
    const auto found = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                                   SameIgnoringCase);
    return found != haystack.end();
}

// Folding A-Z leaves every byte of a UTF-8 character as it is, and GetPreview
// cuts only at ASCII characters, so the display text is searched the same way.
bool PreviewContains(const std::string& markup, std::string_view needle, const CharacterMap& map) {
    return PreviewContains(MarkupToDisplay(markup, map), needle);
}

std::string NotFoundMessage(const std::string& searchText) {
    return "'" + searchText + "' wasn't found.";
}

}  // namespace qm
