#pragma once
// Find and replace across the string table, in the markup the edit box shows.
// Tokens are units: a match never starts or ends inside "(Pause:5)", "(return)"
// or "{A}", and a token can be found and replaced whole. Nothing here changes a
// row in place: the caller takes the new rows, or nothing when refused.

#include <cstddef>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "markup/charmap.hpp"
#include "preview/preview.hpp"
#include "rom/string_table.hpp"

namespace qm {

struct SearchPattern {
    std::string find;         ///< markup to look for (Latin-1); an empty one is found nowhere
    bool matchCase = false;   ///< otherwise A-Z and a-z are the same letters
    bool wholeWords = false;  ///< no letter or digit right before or right after a match
    /// With a character map, a placeholder of a mapped letter counts as a letter
    /// for wholeWords (IsWordCharacter), and refusals give positions in display
    /// text. find stays markup: DisplayToMarkup turns what users type into it.
    const CharacterMap* map = nullptr;
};

/// The matches of pattern in markup that start at or after from, left to right,
/// none overlapping the one before. A match never starts or ends inside a token
/// (MarkupTokens), so it takes every token it touches whole. Never fails.
std::vector<TextRange> MatchesIn(std::string_view markup, const SearchPattern& pattern,
                                 std::size_t from = 0);

/// A match in the string table: 0-based row, and position and length in its text.
struct TextMatch {
    std::size_t row = 0;
    std::size_t position = 0;
    std::size_t length = 0;

    bool operator==(const TextMatch&) const = default;
};

struct MatchSearch {
    std::optional<TextMatch> match;  ///< nothing when scope holds no match at all
    bool wrapped = false;  ///< the match lies before the start: the search went round once

    bool operator==(const MatchSearch&) const = default;
};

/// The next match from position offset of row `row`: first in that row from
/// offset, then in the rows of scope after it, then, once, from the first row of
/// scope up to the start again (in `row` itself, a match that begins before
/// offset). scope lists the rows to search (all rows, the filtered ones or the
/// selected one), in any order; indices past the table are skipped; `row` need
/// not be in it (then only the rows of scope count). Never fails.
MatchSearch FindNextMatch(std::span<const StringEntry> rows, std::span<const std::size_t> scope,
                          std::size_t row, std::size_t offset, const SearchPattern& pattern);

/// A row a replacement would leave unsaveable.
struct ReplaceRefusal {
    std::size_t row = 0;       ///< 0-based
    std::size_t position = 0;  ///< of the problem, in the text after the replacement
                               ///< (in its display text with SearchPattern::map)
    std::string reason;        ///< the encoder's, UTF-8: «"é" is a character the game's font...»
};

/// A replacement refused before anything changed. what() reads «The replacement
/// cannot go into 1 row:» then «Row 17, character 5: <reason>» one a line (up to
/// 20, then how many more).
class ReplaceError : public std::runtime_error {
  public:
    explicit ReplaceError(std::vector<ReplaceRefusal> refusals);
    const std::vector<ReplaceRefusal>& refusals() const { return refusals_; }

  private:
    std::vector<ReplaceRefusal> refusals_;
};

/// rows[match.row] with match replaced by replacement, when pattern still
/// matches exactly there (the row may have changed since the match was found);
/// nothing otherwise. Throws ReplaceError when the row could be saved before
/// (SaveProblem) and could not after.
std::optional<StringEntry> ReplaceMatch(std::span<const StringEntry> rows, const TextMatch& match,
                                        const SearchPattern& pattern, std::string_view replacement);

struct ReplacedRow {
    std::size_t index = 0;  ///< 0-based
    StringEntry row;        ///< the row with its matches replaced
    std::size_t replacements = 0;
};

struct Replacement {
    std::vector<ReplacedRow> rows;  ///< the rows whose text changed, ascending
    std::size_t replacements = 0;   ///< matches that changed (one equal to replacement does not)
};

/// Every match of pattern replaced in the rows of scope (as FindNextMatch takes
/// it). Returns the changed rows; rows itself is not touched. Throws ReplaceError
/// listing every row that could be saved before and could not after; then
/// nothing is replaced anywhere.
Replacement ReplaceAll(std::span<const StringEntry> rows, std::span<const std::size_t> scope,
                       const SearchPattern& pattern, std::string_view replacement);

/// «Replaced 14 times in 9 rows», «Replaced 1 time in 1 row», «Replaced 0 times
/// in 0 rows».
std::string ReplacedText(const Replacement& replacement);

}  // namespace qm
