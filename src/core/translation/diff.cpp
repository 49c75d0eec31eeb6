#include "translation/diff.hpp"

#include <algorithm>

#include "translation/row_state.hpp"

namespace qm {

bool RowDifference::portraitChanged() const {
    return !before || !after || before->Portrait != after->Portrait;
}

bool RowDifference::colourChanged() const {
    return !before || !after || before->Coloured != after->Coloured;
}

bool RowDifference::textChanged() const {
    return !before || !after || before->Text != after->Text;
}

namespace {

template <typename Preview>
std::vector<RowDifference> diffTables(std::span<const StringEntry> before,
                                      std::span<const StringEntry> after, Preview preview) {
    std::vector<RowDifference> differences;
    for (std::size_t k = 0; k < std::max(before.size(), after.size()); ++k) {
        const bool both = k < before.size() && k < after.size();
        if (both && SameAsOriginal(after[k], before[k])) {
            continue;
        }
        RowDifference d;
        d.row = k;
        if (k < before.size()) {
            d.before = before[k];
        }
        if (k < after.size()) {
            d.after = after[k];
        }
        if (d.before) {
            d.previewBefore = preview(d.before->Text);
        }
        if (d.after) {
            d.previewAfter = preview(d.after->Text);
        }
        differences.push_back(std::move(d));
    }
    return differences;
}

}  // namespace

std::vector<RowDifference> DiffTables(std::span<const StringEntry> before,
                                      std::span<const StringEntry> after) {
    return diffTables(before, after, [](const std::string& text) { return PreviewLines(text); });
}

std::vector<RowDifference> DiffTables(std::span<const StringEntry> before,
                                      std::span<const StringEntry> after, const CharacterMap& map) {
    return diffTables(before, after,
                      [&map](const std::string& text) { return PreviewLines(text, map); });
}

}  // namespace qm
