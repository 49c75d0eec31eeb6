#include "translation/reflow.hpp"

#include <set>

#include "markup/symbols.hpp"
#include "preview/preview.hpp"
#include "translation/row_state.hpp"
#include "translation/words.hpp"

namespace qm {

namespace {

// Columns of one line, as the preview counts them.
std::size_t width(std::string_view line) {
    return PreviewText(line).size();
}

}  // namespace

bool ReflowedText::fits() const {
    return lines <= kPreviewLineCount && longWord.empty();
}

bool ReflowedRow::fits() const {
    return lines <= kPreviewLineCount && longWord.empty();
}

ReflowedText ReflowText(std::string_view markup) {
    const std::vector<std::string> words = MarkupWords(markup);
    if (words.empty()) {
        return {std::string(markup), PreviewLines(markup).size(), ""};
    }
    ReflowedText out;
    std::vector<std::string> lines{words.front()};
    for (const std::string& word : words) {
        if (out.longWord.empty() && width(word) > kPreviewLineLength) {
            out.longWord = word;
        }
        if (&word == &words.front()) {
            continue;
        }
        std::string longer = lines.back() + " " + word;
        if (width(longer) <= kPreviewLineLength) {
            lines.back() = std::move(longer);
        } else {
            lines.push_back(word);
        }
    }
    for (const std::string& line : lines) {
        out.text += (&line == &lines.front() ? "" : std::string(kReturnToken)) + line;
    }
    out.lines = lines.size();
    return out;
}

std::vector<ReflowedRow> ReflowRows(std::span<const StringEntry> rows,
                                    std::span<const std::size_t> scope) {
    std::vector<ReflowedRow> reflowed;
    for (std::size_t k : std::set<std::size_t>(scope.begin(), scope.end())) {
        if (k >= rows.size() || OverflowLines(rows[k].Text).empty()) {
            continue;
        }
        ReflowedText text = ReflowText(rows[k].Text);
        ReflowedRow& r = reflowed.emplace_back(ReflowedRow{k, rows[k], text.lines, text.longWord});
        r.changed = text.text != rows[k].Text;
        r.row.Text = std::move(text.text);
    }
    return reflowed;
}

}  // namespace qm
