#include "translation/suggestions.hpp"

#include <algorithm>
#include <numeric>
#include <tuple>

#include "translation/row_state.hpp"
#include "translation/words.hpp"

namespace qm {

namespace {

// 100 × (1 − d / longest) rounded down, in whole numbers.
int scoreOf(std::size_t distance, std::size_t longest) {
    return longest == 0 ? 0 : static_cast<int>(100 * (longest - distance) / longest);
}

// The word-level edit distance, one row of the table at a time.
template <typename Word>
std::size_t editDistance(std::span<const Word> a, std::span<const Word> b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// SimilarityScore, or 0 when it cannot reach kLeastSuggestionScore.
template <typename Word>
int similarity(std::span<const Word> a, std::span<const Word> b) {
    const std::size_t longest = std::max(a.size(), b.size());
    const std::size_t shortest = std::min(a.size(), b.size());
    // d is at least the difference in length: skip the table when even that fails.
    if (scoreOf(longest - shortest, longest) < kLeastSuggestionScore) {
        return 0;
    }
    return scoreOf(editDistance(a, b), longest);
}

}  // namespace

int SimilarityScore(std::span<const std::string> a, std::span<const std::string> b) {
    return scoreOf(editDistance(a, b), std::max(a.size(), b.size()));
}

int SimilarityScore(std::string_view a, std::string_view b) {
    const std::vector<std::string> wordsA = MarkupWords(a);
    const std::vector<std::string> wordsB = MarkupWords(b);
    return SimilarityScore(wordsA, wordsB);
}

std::vector<TranslatedPair> TranslatedPairs(std::span<const StringEntry> rows,
                                            std::span<const StringEntry> original) {
    std::vector<TranslatedPair> pairs;
    for (std::size_t k = 0; k < rows.size() && k < original.size(); ++k) {
        if (!SameAsOriginal(rows[k], original[k])) {
            pairs.push_back({k, original[k].Text, rows[k].Text});
        }
    }
    return pairs;
}

std::vector<TranslatedPair> TranslatedPairs(std::span<const TableRecord> records) {
    std::vector<TranslatedPair> pairs;
    for (const TableRecord& record : records) {
        if (record.row && record.text && record.exportedText &&
            *record.text != *record.exportedText) {
            pairs.push_back({*record.row, *record.exportedText, *record.text});
        }
    }
    return pairs;
}

SuggestionIndex::SuggestionIndex(std::span<const StringEntry> original)
    : original_(original.begin(), original.end()) {
    for (const StringEntry& row : original_) {
        originalWords_.push_back(idsOf(row.Text));
    }
}

SuggestionIndex::WordIds SuggestionIndex::idsOf(std::string_view markup) {
    WordIds ids;
    for (std::string& word : MarkupWords(markup)) {
        ids.push_back(ids_.try_emplace(std::move(word), std::uint32_t(ids_.size())).first->second);
    }
    return ids;
}

std::size_t SuggestionIndex::addSource(std::string name, std::span<const TranslatedPair> pairs) {
    std::vector<Entry>& entries = sources_.emplace_back();
    for (const TranslatedPair& pair : pairs) {
        entries.push_back({pair.row, idsOf(pair.original), pair.translation});
    }
    sourceNames_.push_back(std::move(name));
    return sources_.size();
}

std::vector<Suggestion> SuggestionIndex::forRow(std::span<const StringEntry> rows, std::size_t k,
                                                std::size_t count) const {
    return forRow(rows, k, CharacterMap(), count);
}

std::vector<Suggestion> SuggestionIndex::forRow(std::span<const StringEntry> rows, std::size_t k,
                                                const CharacterMap& map, std::size_t count) const {
    std::vector<Suggestion> found;
    if (k >= original_.size()) {
        return found;
    }
    const std::span<const std::uint32_t> words = originalWords_[k];
    const auto consider = [&](std::size_t source, std::size_t row,
                              std::span<const std::uint32_t> other, const std::string& text) {
        const int score = similarity(words, other);
        if (score >= kLeastSuggestionScore) {
            found.push_back({source, row, score, text, false});
        }
    };
    for (std::size_t j = 0; j < rows.size() && j < original_.size(); ++j) {
        if (j != k && !SameAsOriginal(rows[j], original_[j])) {
            consider(0, j, originalWords_[j], rows[j].Text);
        }
    }
    for (std::size_t s = 0; s < sources_.size(); ++s) {
        for (const Entry& entry : sources_[s]) {
            consider(s + 1, entry.row, entry.words, entry.translation);
        }
    }
    const auto better = [](const Suggestion& a, const Suggestion& b) {
        return std::tie(b.score, a.source, a.row) < std::tie(a.score, b.source, b.row);
    };
    const std::size_t kept = std::min(count, found.size());
    std::partial_sort(found.begin(), found.begin() + std::ptrdiff_t(kept), found.end(), better);
    found.resize(kept);
    for (Suggestion& suggestion : found) {
        suggestion.fits = OverflowLines(suggestion.text, map).empty();
    }
    return found;
}

}  // namespace qm
