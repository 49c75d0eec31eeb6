#include "translation/replace.hpp"

#include <algorithm>

#include "markup/display.hpp"
#include "markup/encoder.hpp"
#include "markup/symbols.hpp"
#include "save/budget.hpp"
#include "text.hpp"

namespace qm {

namespace {

bool isWordCharacter(char c) {
    return IsAsciiLetter(static_cast<unsigned char>(c)) || IsDigit(static_cast<unsigned char>(c));
}

bool textAt(std::string_view markup, std::size_t at, const SearchPattern& pattern) {
    const std::string_view here = markup.substr(at, pattern.find.size());
    if (pattern.matchCase) {
        return here == pattern.find;
    }
    return std::equal(here.begin(), here.end(), pattern.find.begin(), pattern.find.end(),
                      SameIgnoringCase);
}

bool insideToken(const std::vector<MarkupToken>& tokens, std::size_t at) {
    return std::any_of(tokens.begin(), tokens.end(), [at](const MarkupToken& t) {
        return t.position < at && at < t.position + t.length;
    });
}

// Whether a token that starts at start or ends at end is a placeholder of a
// mapped letter.
bool mappedLetterAt(std::string_view markup, const std::vector<MarkupToken>& tokens,
                    const CharacterMap& map, std::size_t start, std::size_t end) {
    return std::any_of(tokens.begin(), tokens.end(), [&](const MarkupToken& t) {
        if (t.position != start && t.position + t.length != end) {
            return false;
        }
        const std::u32string shown =
            DecodeUtf8(MarkupToDisplay(markup.substr(t.position, t.length), map));
        return shown.size() == 1 && shown[0] > 0x7F && IsWordCharacter(shown[0]);
    });
}

bool wholeWordAt(std::string_view markup, std::size_t at, std::size_t length,
                 const SearchPattern& pattern, const std::vector<MarkupToken>& tokens) {
    const std::size_t end = at + length;
    if ((at > 0 && isWordCharacter(markup[at - 1])) ||
        (end < markup.size() && isWordCharacter(markup[end]))) {
        return false;
    }
    return pattern.map == nullptr || !mappedLetterAt(markup, tokens, *pattern.map, end, at);
}

// The sorted, distinct rows of scope that the table has.
std::vector<std::size_t> rowsOf(std::span<const std::size_t> scope, std::size_t rowCount) {
    std::vector<std::size_t> sorted;
    std::copy_if(scope.begin(), scope.end(), std::back_inserter(sorted),
                 [rowCount](std::size_t k) { return k < rowCount; });
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    return sorted;
}

// The row with every match replaced, and how many of them changed the text.
std::pair<StringEntry, std::size_t> replaced(const StringEntry& row,
                                             std::span<const TextRange> matches,
                                             std::string_view replacement) {
    StringEntry result = row;
    result.Text.clear();
    std::size_t from = 0;
    std::size_t changes = 0;
    for (const TextRange& m : matches) {
        const std::string_view matched = std::string_view(row.Text).substr(m.start, m.length);
        changes += matched != replacement ? 1 : 0;
        result.Text.append(row.Text, from, m.start - from);
        result.Text.append(replacement);
        from = m.start + m.length;
    }
    result.Text.append(row.Text, from);
    return {std::move(result), changes};
}

// A refusal when after cannot be saved though before could.
std::optional<ReplaceRefusal> refusal(std::size_t index, const StringEntry& before,
                                      const StringEntry& after, const CharacterMap* map) {
    if (SaveProblem(before)) {
        return std::nullopt;  // it could not be saved already; its state says so
    }
    if (auto problem = SaveProblem(after)) {
        const std::size_t at = map != nullptr ? DisplayPosition(after.Text, *map, problem->position)
                                              : problem->position;
        return ReplaceRefusal{index, at, std::move(problem->reason)};
    }
    return std::nullopt;
}

}  // namespace

std::vector<TextRange> MatchesIn(std::string_view markup, const SearchPattern& pattern,
                                 std::size_t from) {
    std::vector<TextRange> matches;
    const std::size_t length = pattern.find.size();
    std::optional<std::vector<MarkupToken>> tokens;  // read at the first candidate only
    for (std::size_t at = from; length > 0 && at + length <= markup.size();) {
        if (textAt(markup, at, pattern)) {
            if (!tokens) {
                tokens = MarkupTokens(markup);
            }
            if (!insideToken(*tokens, at) && !insideToken(*tokens, at + length) &&
                (!pattern.wholeWords || wholeWordAt(markup, at, length, pattern, *tokens))) {
                matches.push_back({at, length});
                at += length;
                continue;
            }
        }
        ++at;
    }
    return matches;
}

MatchSearch FindNextMatch(std::span<const StringEntry> rows, std::span<const std::size_t> scope,
                          std::size_t row, std::size_t offset, const SearchPattern& pattern) {
    const std::vector<std::size_t> searched = rowsOf(scope, rows.size());
    const auto before = std::lower_bound(searched.begin(), searched.end(), row);
    const bool rowInScope = before != searched.end() && *before == row;
    const auto after = rowInScope ? before + 1 : before;
    const auto firstIn = [&](std::size_t k, std::size_t from) -> std::optional<TextMatch> {
        const std::vector<TextRange> matches = MatchesIn(rows[k].Text, pattern, from);
        return matches.empty() ? std::nullopt
                               : std::optional<TextMatch>({k, matches[0].start, matches[0].length});
    };
    std::optional<TextMatch> found = rowInScope ? firstIn(row, offset) : std::nullopt;
    for (auto it = after; !found && it != searched.end(); ++it) {
        found = firstIn(*it, 0);
    }
    if (found) {
        return {found, false};
    }
    for (auto it = searched.begin(); !found && it != before; ++it) {
        found = firstIn(*it, 0);
    }
    if (!found && rowInScope) {
        found = firstIn(row, 0);
        if (found && found->position >= offset) {
            found.reset();  // seen before the search went round
        }
    }
    return {found, found.has_value()};
}

ReplaceError::ReplaceError(std::vector<ReplaceRefusal> refusals)
    : std::runtime_error([&refusals] {
          std::vector<std::string> lines;
          for (const ReplaceRefusal& r : refusals) {
              lines.push_back("Row " + std::to_string(r.row + 1) + ", character " +
                              std::to_string(r.position + 1) + ": " + r.reason);
          }
          return ListedLines(
              "The replacement cannot go into " + Counted(refusals.size(), "row", "rows") + ":",
              lines);
      }()),
      refusals_(std::move(refusals)) {}

std::optional<StringEntry> ReplaceMatch(std::span<const StringEntry> rows, const TextMatch& match,
                                        const SearchPattern& pattern,
                                        std::string_view replacement) {
    if (match.row >= rows.size()) {
        return std::nullopt;
    }
    const StringEntry& row = rows[match.row];
    const std::vector<TextRange> here = MatchesIn(row.Text, pattern, match.position);
    if (here.empty() || here.front() != TextRange{match.position, match.length}) {
        return std::nullopt;
    }
    StringEntry after = replaced(row, std::span(here).first(1), replacement).first;
    if (auto refused = refusal(match.row, row, after, pattern.map)) {
        throw ReplaceError({std::move(*refused)});
    }
    return after;
}

Replacement ReplaceAll(std::span<const StringEntry> rows, std::span<const std::size_t> scope,
                       const SearchPattern& pattern, std::string_view replacement) {
    Replacement result;
    std::vector<ReplaceRefusal> refusals;
    for (std::size_t k : rowsOf(scope, rows.size())) {
        const std::vector<TextRange> matches = MatchesIn(rows[k].Text, pattern);
        if (matches.empty()) {
            continue;
        }
        auto [after, changes] = replaced(rows[k], matches, replacement);
        if (changes == 0) {
            continue;
        }
        if (auto refused = refusal(k, rows[k], after, pattern.map)) {
            refusals.push_back(std::move(*refused));
        }
        result.replacements += changes;
        result.rows.push_back({k, std::move(after), changes});
    }
    if (!refusals.empty()) {
        throw ReplaceError(std::move(refusals));
    }
    return result;
}

std::string ReplacedText(const Replacement& replacement) {
    return "Replaced " + Counted(replacement.replacements, "time", "times") + " in " +
           Counted(replacement.rows.size(), "row", "rows");
}

}  // namespace qm
