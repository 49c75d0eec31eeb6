#pragma once
// Which rows a translator looks at: the rows a filter line shows, the next row
// that needs work, and the untranslated rows that share a row's original.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rom/string_table.hpp"
#include "translation/row_state.hpp"

namespace qm {

/// The filter's state choice, in the order kStateChoiceNames lists them.
enum class StateChoice : std::uint8_t {
    All,
    Untranslated,
    Translated,
    Overflows,
    Unsaveable,
    Changed,
    Draft,
    NeedsReview,
    Approved,
    Warnings
};

/// The choices as the filter shows them.
inline constexpr std::array<const char*, 6> kStateChoiceNames = {
    "All", "Untranslated", "Translated", "Overflows", "Cannot be saved", "Changed"};
/// The review states' choices (RowState::review), which follow kStateChoiceNames
/// in the filter's list: StateChoice::Draft is kStateChoiceNames.size().
inline constexpr std::array<const char*, 3> kReviewChoiceNames = {"Draft", "Needs review",
                                                                  "Approved"};
/// The last choice, after the review states: rows a check warns about.
inline constexpr const char* kWarningsChoiceName = "Warnings";

/// Whether a row in state counts as choice. Without an original no row is
/// untranslated or translated.
bool HasState(const RowState& state, StateChoice choice);

struct RowFilter {
    std::string text;  ///< Latin-1, as the preview shows text; empty: every row
    StateChoice state = StateChoice::All;
    /// With a character map, text is display text (UTF-8) and is looked for in
    /// the rows' display text (PreviewContains with the map).
    const CharacterMap* map = nullptr;
};

/// Whether a row passes filter: it has the chosen state, and filter.text occurs in
/// the preview form of its text or of the original's text (PreviewContains: any
/// case, "(return)" read as a space, tokens left out). original is the
/// original's row of the same index, or nullptr.
bool PassesFilter(const StringEntry& row, const StringEntry* original, const RowState& state,
                  const RowFilter& filter);

/// The 0-based indices of the rows that pass, ascending. states[k] is row k's
/// state (StatesOf); original as StatesOf takes it. Rows without a state do not pass.
std::vector<std::size_t> FilterRows(std::span<const StringEntry> rows,
                                    std::span<const StringEntry> original,
                                    std::span<const RowState> states, const RowFilter& filter);

/// Where Next Untranslated or Next Problem lands.
struct RowJump {
    std::optional<std::size_t> row;  ///< nothing when no row qualifies
    bool wrapped = false;            ///< the search passed the last row and went on from the top

    bool operator==(const RowJump&) const = default;
};

/// The first row after `after` whose state qualifies, going on from row 0 after
/// the last row, up to and including `after` itself. Without `after` (nothing
/// selected) the search starts at row 0 and never wraps.
RowJump NextUntranslated(std::span<const RowState> states, std::optional<std::size_t> after);
/// The same for a row that overflows or cannot be saved.
RowJump NextProblem(std::span<const RowState> states, std::optional<std::size_t> after);
/// The same for a row marked Needs review (Find > Next Needing Review).
RowJump NextNeedingReview(std::span<const RowState> states, std::optional<std::size_t> after);

/// Find Next: the first row after `after` whose text, as the player reads it,
/// holds needle (PreviewContains), going on from row 0 once, up to and including
/// `after`. Nothing when no row holds it. With a character map, needle is
/// display text and is looked for in the rows' display text.
RowJump NextRowContaining(std::span<const StringEntry> rows, std::optional<std::size_t> after,
                          std::string_view needle, const CharacterMap* map = nullptr);

/// The other rows, ascending, that are untranslated (SameAsOriginal) and whose
/// original row has the same portrait, text and colour as original[index]: the
/// rows that may take rows[index]'s portrait, text and colour. Portrait and
/// colour count too, so that a translated line is never given to another
/// speaker. Empty when original has no row index.
std::vector<std::size_t> IdenticalRows(std::span<const StringEntry> rows,
                                       std::span<const StringEntry> original, std::size_t index);

}  // namespace qm
