#pragma once
// Suggestions from the translation so far: for the selected row, the translated
// rows whose originals read most like its original (a translation memory with
// fuzzy matches), and the same from further sources (a PO file, another ROM
// image's translated table against its original).

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "exchange/table.hpp"
#include "markup/charmap.hpp"
#include "rom/string_table.hpp"

namespace qm {

/// The least score a suggestion has, and the most suggestions given.
inline constexpr int kLeastSuggestionScore = 60;
inline constexpr std::size_t kSuggestionCount = 5;

/// The similarity of two word sequences: 100 × (1 − d / max(m, n)) rounded down,
/// m and n their lengths and d the word-level edit distance (inserting, deleting
/// or replacing one word costs 1; words compare exactly, case included).
/// Computed in whole numbers, so 70 is 70 and never 69.999. Two empty sequences
/// score 0: nothing is alike in texts without words.
int SimilarityScore(std::span<const std::string> a, std::span<const std::string> b);

/// SimilarityScore of the MarkupWords of two markup texts.
int SimilarityScore(std::string_view a, std::string_view b);

/// An original's text and its translation, as a source of suggestions holds them.
struct TranslatedPair {
    std::size_t row = 0;  ///< 0-based, in its source
    std::string original;
    std::string translation;  ///< markup
};

/// The translated rows of a table against its original: the rows whose portrait,
/// colour or text differ from the original's row of the same index.
std::vector<TranslatedPair> TranslatedPairs(std::span<const StringEntry> rows,
                                            std::span<const StringEntry> original);

/// The translated entries of a PO file as TableFromPo reads them: records with a
/// row, a text (a translation that is not fuzzy) and the msgid it translates,
/// where the two differ.
std::vector<TranslatedPair> TranslatedPairs(std::span<const TableRecord> records);

/// A suggestion for a row.
struct Suggestion {
    std::size_t source = 0;  ///< 0: the table's own rows; n: the n-th further source added
    std::size_t row = 0;     ///< 0-based, in its source
    int score = 0;
    std::string text;   ///< the translation's markup
    bool fits = false;  ///< its preview fits the text box (no OverflowLines)

    bool operator==(const Suggestion&) const = default;
};

/// The originals' words, read once, so that suggesting for a row only compares
/// word numbers: cheap enough for every change of row.
class SuggestionIndex {
  public:
    /// original: the original's rows (only their texts are kept).
    explicit SuggestionIndex(std::span<const StringEntry> original);

    /// Adds a further source of suggestions, named for the user («story.po»);
    /// returns its number (1 for the first).
    std::size_t addSource(std::string name, std::span<const TranslatedPair> pairs);
    /// The name of further source n (1-based).
    const std::string& sourceName(std::size_t source) const { return sourceNames_.at(source - 1); }

    /// Up to count suggestions for row k of rows (the table as it stands): the
    /// translated rows j ≠ k of rows (portrait, colour or text differ from the
    /// original's row j) and the further sources' pairs whose originals score at
    /// least kLeastSuggestionScore against the original's row k, best first, ties
    /// by source (the table first) and then by row. None when the original has no
    /// row k. Never fails.
    std::vector<Suggestion> forRow(std::span<const StringEntry> rows, std::size_t k,
                                   std::size_t count = kSuggestionCount) const;
    /// The same with fits judged as the preview shows text with a character map
    /// (a mapped character takes one column).
    std::vector<Suggestion> forRow(std::span<const StringEntry> rows, std::size_t k,
                                   const CharacterMap& map,
                                   std::size_t count = kSuggestionCount) const;

  private:
    using WordIds = std::vector<std::uint32_t>;
    struct Entry {
        std::size_t row;
        WordIds words;
        std::string translation;
    };

    WordIds idsOf(std::string_view markup);

    std::unordered_map<std::string, std::uint32_t> ids_;
    std::vector<StringEntry> original_;
    std::vector<WordIds> originalWords_;
    std::vector<std::vector<Entry>> sources_;  ///< further sources
    std::vector<std::string> sourceNames_;
};

}  // namespace qm
