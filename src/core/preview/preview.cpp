#include "preview/preview.hpp"

#include <algorithm>

#include "markup/display.hpp"

namespace qm {

namespace {

constexpr std::string_view kReturnToken = "(return)";

std::string replaceAll(std::string_view text, std::string_view what, std::string_view with) {
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos;
         at = text.find(what, from)) {
        out.append(text.substr(from, at - from));
        out.append(with);
        from = at + what.size();
    }
    out.append(text.substr(from));
    return out;
}

// Removing the first stretch leaves no "(" before the point where it stood, so
// one pass from left to right removes the same stretches as starting over.
std::string removeStretches(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t open = text.find('(', from);
        const std::size_t close = open == std::string_view::npos ? open : text.find(')', open + 1);
        if (close == std::string_view::npos) {
            break;
        }
        out.append(text.substr(from, open - from));
        from = close + 1;
    }
    out.append(text.substr(std::min(from, text.size())));
    return out;
}

}  // namespace

std::string GetPreview(std::string text) {
    return removeStretches(replaceAll(text, kReturnToken, " "));
}

std::string PreviewText(std::string_view markup) {
    return GetPreview(replaceAll(markup, kReturnToken, std::string_view(&kPreviewLineBreak, 1)));
}

namespace {

// One rule for both forms of preview text: a column is one element of it.
template <typename Char>
std::vector<TextRange> overflowRanges(std::basic_string_view<Char> previewText) {
    const Char lineBreak = static_cast<Char>(kPreviewLineBreak);
    std::vector<TextRange> ranges;
    std::vector<TextRange> longLines;
    std::size_t lineStart = 0;
    std::size_t lineNumber = 1;
    while (true) {
        const std::size_t lineEnd =
            std::min(previewText.find(lineBreak, lineStart), previewText.size());
        if (lineNumber == kPreviewLineCount + 1 && lineStart < previewText.size()) {
            ranges.push_back({lineStart, previewText.size() - lineStart});
        }
        if (lineEnd - lineStart > kPreviewLineLength) {
            const std::size_t start = lineStart + kPreviewLineLength;
            longLines.push_back({start, lineEnd - start});
        }
        if (lineEnd == previewText.size()) {
            break;
        }
        lineStart = lineEnd + 1;
        ++lineNumber;
    }
    ranges.insert(ranges.end(), longLines.begin(), longLines.end());
    return ranges;
}

}  // namespace

std::string DisplayPreviewText(std::string_view markup, const CharacterMap& map) {
    return PreviewText(MarkupToDisplay(markup, map));
}

std::vector<TextRange> OverflowRanges(std::string_view previewText) {
    return overflowRanges(previewText);
}

std::vector<TextRange> OverflowRanges(std::u32string_view previewText) {
    return overflowRanges(previewText);
}

}  // namespace qm
