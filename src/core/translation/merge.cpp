#include "translation/merge.hpp"

#include "translation/row_state.hpp"

namespace qm {

namespace {

bool sameAsBase(const StringEntry& row, const LoadedForm& base) {
    return row.Portrait == base.portrait && row.Coloured == base.coloured && row.Text == base.text;
}

void takeContent(StringEntry& into, const StringEntry& from) {
    into.Portrait = from.Portrait;
    into.Coloured = from.Coloured;
    into.Text = from.Text;
}

}  // namespace

MergedRows MergeRows(std::span<const StringEntry> mine, std::span<const StringEntry> theirs) {
    MergedRows merged{std::vector<StringEntry>(theirs.begin(), theirs.end()), {}};
    for (std::size_t k = 0; k < mine.size(); ++k) {
        if (mine[k].IsUnchanged()) {
            continue;
        }
        if (k < theirs.size()) {
            if (!sameAsBase(theirs[k], mine[k].Loaded) && !SameAsOriginal(theirs[k], mine[k])) {
                merged.conflicts.push_back(k);
            }
            takeContent(merged.rows[k], mine[k]);
            continue;
        }
        // The file lost rows up to this one: they come from the user's table.
        for (std::size_t j = merged.rows.size(); j <= k; ++j) {
            StringEntry row = mine[j];
            row.Loaded = {};
            merged.rows.push_back(std::move(row));
        }
        merged.conflicts.push_back(k);
    }
    return merged;
}

}  // namespace qm
