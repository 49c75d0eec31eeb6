#pragma once
// Notes and review states: what a team says about each row while it translates
// and reviews. They live in the project file beside the ROM image
// (project/project_file.hpp), never in the ROM image.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

/// Where a row stands in review. None: nobody has changed or reviewed it.
enum class ReviewState : std::uint8_t { None, Draft, NeedsReview, Approved };

/// "", "Draft", "Needs review", "Approved": as the window and the tables show it.
std::string_view ReviewStateName(ReviewState state);

/// "", "draft", "needs-review", "approved": as the project file and the tool's
/// options write it.
std::string_view ReviewStateKey(ReviewState state);

/// The state whose name or key is text, in any case ("" is None); nothing for
/// any other text.
std::optional<ReviewState> ReviewStateNamed(std::string_view text);

/// What a team says about one row.
struct RowReview {
    std::string note;  ///< free text, UTF-8, may hold line breaks
    ReviewState state = ReviewState::None;

    bool empty() const { return note.empty() && state == ReviewState::None; }
    bool operator==(const RowReview&) const = default;
};

/// The rows' reviews by 0-based row; a row without note or state has no entry.
using Reviews = std::map<std::size_t, RowReview>;

/// The review of row, or an empty one.
const RowReview& ReviewOf(const Reviews& reviews, std::size_t row);

/// Sets row's review; an empty one takes the row's entry away.
void SetReview(Reviews& reviews, std::size_t row, RowReview review);

/// The state of a row whose text an edit has just changed (Apply, Replace,
/// Import): an Approved row goes back to Draft, since nobody has reviewed the
/// change; every other state stays. A row without a state keeps none, so edits
/// alone never make a project file.
ReviewState StateAfterTextChange(ReviewState state);

/// How many rows are in each state.
struct ReviewCounts {
    std::size_t draft = 0;
    std::size_t needsReview = 0;
    std::size_t approved = 0;

    bool any() const { return draft + needsReview + approved > 0; }
    bool operator==(const ReviewCounts&) const = default;
};

ReviewCounts CountReviews(const Reviews& reviews);

/// The status bar's part for them, UTF-8: «12 need review · 300 approved».
std::string ReviewStatusText(const ReviewCounts& counts);

}  // namespace qm
