#include "translation/row_state.hpp"

#include <algorithm>

#include "preview/preview.hpp"
#include "save/budget.hpp"
#include "text.hpp"

namespace qm {

bool SameAsOriginal(const StringEntry& row, const StringEntry& original) {
    return SameContent(row, original);
}

namespace {

// The lines of a preview in either form: Latin-1 bytes or decoded characters.
template <typename Text>
std::vector<Text> linesOf(const Text& preview) {
    std::vector<Text> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = preview.find(kPreviewLineBreak, start)) != Text::npos;
         start = end + 1) {
        lines.push_back(preview.substr(start, end - start));
    }
    lines.push_back(preview.substr(start));
    return lines;
}

// OverflowLines of a preview in either form; asText gives a line's text.
template <typename Text, typename AsText>
std::vector<OverflowLine> overflowLinesOf(const Text& preview, AsText asText) {
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
        const auto over = static_cast<std::size_t>(
            std::count(marked.begin() + static_cast<std::ptrdiff_t>(start),
                       marked.begin() + static_cast<std::ptrdiff_t>(end), true));
        if (over > 0) {
            lines.push_back({line, asText(preview.substr(start, end - start)), over});
        }
        start = end + 1;
    }
    return lines;
}

RowState stateWith(const StringEntry& row, const StringEntry* original,
                   std::vector<OverflowLine> overflow) {
    RowState state;
    if (original != nullptr) {
        state.translation =
            SameAsOriginal(row, *original) ? Translation::Untranslated : Translation::Translated;
    }
    state.overflow = std::move(overflow);
    state.problem = SaveProblem(row);
    state.changed = !row.IsUnchanged();
    return state;
}

}  // namespace

std::vector<std::string> PreviewLines(std::string_view markup) {
    return linesOf(PreviewText(markup));
}

std::vector<std::string> PreviewLines(std::string_view markup, const CharacterMap& map) {
    return linesOf(DisplayPreviewText(markup, map));
}

std::vector<OverflowLine> OverflowLines(std::string_view markup) {
    return overflowLinesOf(PreviewText(markup), [](std::string line) { return line; });
}

std::vector<OverflowLine> OverflowLines(std::string_view markup, const CharacterMap& map) {
    // Without a map, an ASCII text reads the same in display text: the common
    // case, for every row at every load, skips the conversions.
    if (map.empty() && std::all_of(markup.begin(), markup.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return OverflowLines(markup);
    }
    return overflowLinesOf(DecodeUtf8(DisplayPreviewText(markup, map)),
                           [](const std::u32string& line) { return EncodeUtf8(line); });
}

RowState StateOf(const StringEntry& row, const StringEntry* original) {
    return stateWith(row, original, OverflowLines(row.Text));
}

RowState StateOf(const StringEntry& row, const StringEntry* original, const CharacterMap& map,
                 ReviewState review) {
    RowState state = stateWith(row, original, OverflowLines(row.Text, map));
    state.review = review;
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

std::vector<RowState> StatesOf(std::span<const StringEntry> rows,
                               std::span<const StringEntry> original, const CharacterMap& map,
                               const Reviews& reviews) {
    std::vector<RowState> states;
    states.reserve(rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        states.push_back(StateOf(rows[k], k < original.size() ? &original[k] : nullptr, map,
                                 ReviewOf(reviews, k).state));
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
        counts.reviews.draft += state.review == ReviewState::Draft ? 1 : 0;
        counts.reviews.needsReview += state.review == ReviewState::NeedsReview ? 1 : 0;
        counts.reviews.approved += state.review == ReviewState::Approved ? 1 : 0;
        counts.warnings += state.warnings;
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
    text += std::to_string(counts.overflow) + " overflow" + kSeparator +
            std::to_string(counts.unsaveable) + " cannot be saved";
    if (counts.compared > 0) {  // the checks compare with an original
        text += kSeparator + Counted(counts.warnings, "warning", "warnings");
    }
    return counts.reviews.any() ? text + kSeparator + ReviewStatusText(counts.reviews) : text;
}

}  // namespace qm
