#include "translation/review.hpp"

#include <array>

namespace qm {

namespace {

struct StateText {
    ReviewState state;
    std::string_view name;
    std::string_view key;
};

constexpr std::array<StateText, 4> kStates = {
    {{ReviewState::None, "", ""},
     {ReviewState::Draft, "Draft", "draft"},
     {ReviewState::NeedsReview, "Needs review", "needs-review"},
     {ReviewState::Approved, "Approved", "approved"}}};

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string_view ReviewStateName(ReviewState state) {
    return kStates[static_cast<std::size_t>(state)].name;
}

std::string_view ReviewStateKey(ReviewState state) {
    return kStates[static_cast<std::size_t>(state)].key;
}

std::optional<ReviewState> ReviewStateNamed(std::string_view text) {
    for (const StateText& s : kStates) {
        if (sameIgnoringCase(text, s.name) || sameIgnoringCase(text, s.key)) {
            return s.state;
        }
    }
    return std::nullopt;
}

const RowReview& ReviewOf(const Reviews& reviews, std::size_t row) {
    static const RowReview kNone;
    const auto found = reviews.find(row);
    return found == reviews.end() ? kNone : found->second;
}

void SetReview(Reviews& reviews, std::size_t row, RowReview review) {
    if (review.empty()) {
        reviews.erase(row);
    } else {
        reviews[row] = std::move(review);
    }
}

ReviewState StateAfterTextChange(ReviewState state) {
    return state == ReviewState::Approved ? ReviewState::Draft : state;
}

ReviewCounts CountReviews(const Reviews& reviews) {
    ReviewCounts counts;
    for (const auto& [row, review] : reviews) {
        counts.draft += review.state == ReviewState::Draft ? 1 : 0;
        counts.needsReview += review.state == ReviewState::NeedsReview ? 1 : 0;
        counts.approved += review.state == ReviewState::Approved ? 1 : 0;
    }
    return counts;
}

std::string ReviewStatusText(const ReviewCounts& counts) {
    return std::to_string(counts.needsReview) + " need review \xC2\xB7 " +
           std::to_string(counts.approved) + " approved";
}

}  // namespace qm
