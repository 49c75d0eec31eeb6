#include "translation/filter.hpp"

#include "commands/find.hpp"

namespace qm {

bool HasState(const RowState& state, StateChoice choice) {
    switch (choice) {
        case StateChoice::All: return true;
        case StateChoice::Untranslated: return state.untranslated();
        case StateChoice::Translated: return state.translated();
        case StateChoice::Overflows: return state.overflows();
        case StateChoice::Unsaveable: return state.unsaveable();
        case StateChoice::Changed: return state.changed;
        case StateChoice::Draft: return state.review == ReviewState::Draft;
        case StateChoice::NeedsReview: return state.review == ReviewState::NeedsReview;
        case StateChoice::Approved: return state.review == ReviewState::Approved;
        case StateChoice::Warnings: return state.warnings > 0;
    }
    return false;
}

bool PassesFilter(const StringEntry& row, const StringEntry* original, const RowState& state,
                  const RowFilter& filter) {
    if (!HasState(state, filter.state)) {
        return false;
    }
    const auto contains = [&filter](const std::string& markup) {
        return filter.map != nullptr ? PreviewContains(markup, filter.text, *filter.map)
                                     : PreviewContains(markup, filter.text);
    };
    return filter.text.empty() || contains(row.Text) ||
           (original != nullptr && contains(original->Text));
}

std::vector<std::size_t> FilterRows(std::span<const StringEntry> rows,
                                    std::span<const StringEntry> original,
                                    std::span<const RowState> states, const RowFilter& filter) {
    std::vector<std::size_t> passing;
    for (std::size_t k = 0; k < rows.size() && k < states.size(); ++k) {
        if (PassesFilter(rows[k], k < original.size() ? &original[k] : nullptr, states[k],
                         filter)) {
            passing.push_back(k);
        }
    }
    return passing;
}

namespace {

// The first of n rows after `after` for which qualifies(index) holds, going on
// from row 0 once.
template <typename Qualifies>
RowJump nextRow(std::size_t n, std::optional<std::size_t> after, Qualifies qualifies) {
    const std::size_t first = after && *after < n ? *after + 1 : 0;
    for (std::size_t at = first; at < first + n; ++at) {
        if (qualifies(at % n)) {
            return {at % n, at >= n};
        }
    }
    return {};
}

}  // namespace

RowJump NextUntranslated(std::span<const RowState> states, std::optional<std::size_t> after) {
    return nextRow(states.size(), after, [&](std::size_t k) { return states[k].untranslated(); });
}

RowJump NextProblem(std::span<const RowState> states, std::optional<std::size_t> after) {
    return nextRow(states.size(), after,
                   [&](std::size_t k) { return states[k].overflows() || states[k].unsaveable(); });
}

RowJump NextRowContaining(std::span<const StringEntry> rows, std::optional<std::size_t> after,
                          std::string_view needle, const CharacterMap* map) {
    return nextRow(rows.size(), after, [&](std::size_t k) {
        return map ? PreviewContains(rows[k].Text, needle, *map)
                   : PreviewContains(rows[k].Text, needle);
    });
}

RowJump NextNeedingReview(std::span<const RowState> states, std::optional<std::size_t> after) {
    return nextRow(states.size(), after,
                   [&](std::size_t k) { return states[k].review == ReviewState::NeedsReview; });
}

std::vector<std::size_t> IdenticalRows(std::span<const StringEntry> rows,
                                       std::span<const StringEntry> original, std::size_t index) {
    std::vector<std::size_t> identical;
    if (index >= original.size()) {
        return identical;
    }
    for (std::size_t k = 0; k < rows.size() && k < original.size(); ++k) {
        if (k != index && SameAsOriginal(original[k], original[index]) &&
            SameAsOriginal(rows[k], original[k])) {
            identical.push_back(k);
        }
    }
    return identical;
}

}  // namespace qm
