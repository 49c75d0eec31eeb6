#include "translation/row_state.hpp"

#include <algorithm>

#include "preview/preview.hpp"
#include "save/budget.hpp"

namespace qm {

bool SameAsOriginal(const StringEntry& row, const StringEntry& original) {
    return SameContent(row, original);
}

std::vector<std::string> PreviewLines(std::string_view markup) {
    const std::string preview = PreviewText(markup);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = preview.find(kPreviewLineBreak, start)) != std::string::npos;
         start = end + 1) {
        lines.push_back(preview.substr(start, end - start));
    }
    lines.push_back(preview.substr(start));
    return lines;
}

std::vector<OverflowLine> OverflowLines(std::string_view markup) {
    const std::string preview = PreviewText(markup);
    const std::vector<TextRange> ranges = OverflowRanges(preview);
    std::vector<OverflowLine> lines;
    if (ranges.empty()) {
        return lines;
    }
    // The runs overlap (a long third line is in two), so count marked characters.
    std::vector<bool> marked(preview.size());
    for (const TextRange& range : ranges) {
        std::fill_n(marked.begin() + static_cast<std::ptrdiff_t>(range.start), range.length, true);
    }
    std::size_t start = 0;
    for (std::size_t line = 1; start <= preview.size(); ++line) {
        const std::size_t end = std::min(preview.find(kPreviewLineBreak, start), preview.size());
        std::size_t over = 0;
        for (std::size_t i = start; i < end; ++i) {
            over += marked[i] ? 1 : 0;
        }
        if (over > 0) {
            lines.push_back({line, preview.substr(start, end - start), over});
        }
        start = end + 1;
    }
    return lines;
}

RowState StateOf(const StringEntry& row, const StringEntry* original) {
    RowState state;
    if (original != nullptr) {
        state.translation =
            SameAsOriginal(row, *original) ? Translation::Untranslated : Translation::Translated;
    }
    state.overflow = OverflowLines(row.Text);
    state.problem = SaveProblem(row);
    state.changed = !row.IsUnchanged();
    return state;
}

std::vector<RowState> StatesOf(std::span<const StringEntry> rows,
                               std::span<const StringEntry> original) {
    std::vector<RowState> states;
    states.reserve(rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        states.push_back(StateOf(rows[k], k < original.size() ? &original[k] : nullptr));
    }
    return states;
}

StateCounts CountStates(std::span<const RowState> states) {
    StateCounts counts;
    counts.rows = states.size();
    for (const RowState& state : states) {
        counts.compared += state.translation != Translation::NoOriginal ? 1 : 0;
        counts.translated += state.translated() ? 1 : 0;
        counts.untranslated += state.untranslated() ? 1 : 0;
        counts.overflow += state.overflows() ? 1 : 0;
        counts.unsaveable += state.unsaveable() ? 1 : 0;
        counts.changed += state.changed ? 1 : 0;
    }
    return counts;
}

std::string StatusText(const StateCounts& counts) {
    constexpr const char* kSeparator = " \xC2\xB7 ";  // a middle dot, in UTF-8
    std::string text;
    if (counts.compared > 0) {
        text = std::to_string(counts.translated) + " of " + std::to_string(counts.compared) +
               " translated" + kSeparator;
    }
    return text + std::to_string(counts.overflow) + " overflow" + kSeparator +
           std::to_string(counts.unsaveable) + " cannot be saved";
}

}  // namespace qm
