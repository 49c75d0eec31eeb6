#include "translation/reflow.hpp"

#include <algorithm>
#include <set>

#include "markup/symbols.hpp"
#include "preview/preview.hpp"
#include "translation/row_state.hpp"
#include "translation/words.hpp"

namespace qm {

namespace {

// Columns of one line, as the preview counts them: a character each.
std::size_t width(std::string_view line, const CharacterMap& map) {
    if (map.empty()) {
        return PreviewText(line).size();
    }
    const std::string shown = DisplayPreviewText(line, map);
    return static_cast<std::size_t>(std::count_if(shown.begin(), shown.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;  // a character's first byte
    }));
}

}  // namespace

bool ReflowedText::fits() const {
    return lines <= kPreviewLineCount && longWord.empty();
}

bool ReflowedRow::fits() const {
    return lines <= kPreviewLineCount && longWord.empty();
}

ReflowedText ReflowText(std::string_view markup, const CharacterMap& map) {
    const std::vector<std::string> words = MarkupWords(markup);
    if (words.empty()) {
        return {std::string(markup), PreviewLines(markup).size(), ""};
    }
    ReflowedText out;
    std::vector<std::string> lines{words.front()};
    for (const std::string& word : words) {
        if (out.longWord.empty() && width(word, map) > kPreviewLineLength) {
            out.longWord = word;
        }
        if (&word == &words.front()) {
            continue;
        }
        std::string longer = lines.back() + " " + word;
        if (width(longer, map) <= kPreviewLineLength) {
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
                                    std::span<const std::size_t> scope, const CharacterMap& map) {
    std::vector<ReflowedRow> reflowed;
    for (std::size_t k : std::set<std::size_t>(scope.begin(), scope.end())) {
        if (k >= rows.size() || OverflowLines(rows[k].Text, map).empty()) {
            continue;
        }
        ReflowedText text = ReflowText(rows[k].Text, map);
        ReflowedRow& r = reflowed.emplace_back(ReflowedRow{k, rows[k], text.lines, text.longWord});
        r.changed = text.text != rows[k].Text;
        r.row.Text = std::move(text.text);
    }
    return reflowed;
}

}  // namespace qm
