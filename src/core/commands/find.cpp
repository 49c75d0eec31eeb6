#include "commands/find.hpp"

#include <algorithm>

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

std::string NotFoundMessage(const std::string& searchText) {
    return "'" + searchText + "' wasn't found.";
}

}  // namespace qm
