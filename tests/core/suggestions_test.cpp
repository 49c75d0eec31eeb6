// The similarity score on cases worked by hand, and suggestions: only translated
// rows and their sources' pairs, 60 and up, best first, ties by source then row.
#include <gtest/gtest.h>

#include "translation/suggestions.hpp"

namespace qm {
namespace {

StringEntry row(std::string text) {
    return {0, Colour::No, std::move(text), 0, {}};
}

TEST(Suggestions, ScoresWordsAsWorkedByHand) {
    const struct {
        const char* a;
        const char* b;
        int score;
    } cases[] = {
        {"The tide is out", "The tide is out", 100},
        {"The tide is out", "The tide is in", 75},        // d 1 of 4
        {"Good morning!", "Good evening!", 50},           // d 1 of 2
        {"a b c", "a b c d e f", 50},                     // 3 inserted of 6
        {"Hello there", "hello there", 50},               // case counts
        {"Hi(Pause:5) there", "Hi there", 50},            // a token stays with its word
        {"one(return)two  three", "one two three", 100},  // (return) and spaces part words
        {"a b c d e f g h i j", "a b c d e f g x y z", 70},
        {"a b c d e", "a v w x y", 20},  // 1 - 4 / 5 is 0.1999... in floating point
        {"x y z", "x q z", 66},          // 66.6 rounded down
        {"b a", "a b", 0},               // two replacements
        {"", "", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SimilarityScore(c.a, c.b), c.score) << c.a << " / " << c.b;
        EXPECT_EQ(SimilarityScore(c.b, c.a), c.score) << c.b << " / " << c.a;
    }
}

TEST(Suggestions, OffersTranslatedRowsFrom60BestFirstTiesByRow) {
    const std::vector<StringEntry> original = {
        row("a b c d e"),  // 0: the row asked about
        row("a b c d x"),  // 1: 80
        row("a b c x y"),  // 2: 60
        row("a b x y z"),  // 3: 40, below the least score
        row("a b c d e"),  // 4: 100, but untranslated
        row("a b c d e"),  // 5: 100
        row("a b c x y"),  // 6: 60, a tie with 2
        row("a b c d z"),  // 7: 80, a tie with 1
        row("a b c d e"),  // 8: 100: one more than five
    };
    std::vector<StringEntry> rows = original;
    for (std::size_t k : {0, 1, 2, 3, 5, 6, 7, 8}) {
        rows[k].Text = "T" + std::to_string(k);
    }
    rows[8].Text = "A text longer than the twenty columns";
    SuggestionIndex index(original);
    const std::vector<Suggestion> found = index.forRow(rows, 0);
    const std::vector<Suggestion> expected = {{0, 5, 100, "T5", true},
                                              {0, 8, 100, rows[8].Text, false},
                                              {0, 1, 80, "T1", true},
                                              {0, 7, 80, "T7", true},
                                              {0, 2, 60, "T2", true}};
    EXPECT_EQ(found, expected);
    EXPECT_EQ(index.forRow(rows, 0, 2).size(), 2u);
    EXPECT_TRUE(index.forRow(rows, 9).empty());  // no original row

    const std::vector<TranslatedPair> po = {{40, "a b c d x", "P40"}, {3, "a b c d e", "P3"}};
    EXPECT_EQ(index.addSource("other.po", po), 1u);
    const std::vector<Suggestion> more = index.forRow(rows, 0, 9);
    EXPECT_EQ(more[2], (Suggestion{1, 3, 100, "P3", true}));  // after the table's own at 100
    EXPECT_EQ(more[5], (Suggestion{1, 40, 80, "P40", true}));
    EXPECT_EQ(index.sourceName(1), "other.po");
}

TEST(Suggestions, TakesTranslatedPairsOfATableAndOfPoRecords) {
    const std::vector<StringEntry> original = {row("Hi"), row("Bye")};
    std::vector<StringEntry> rows = original;
    rows[1].Text = "Tschau";
    const std::vector<TranslatedPair> pairs = TranslatedPairs(rows, original);
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].row, 1u);
    EXPECT_EQ(pairs[0].original, "Bye");
    EXPECT_EQ(pairs[0].translation, "Tschau");
    std::vector<TableRecord> records(3);
    records[0] = {"line 5", 4, {}, "Hallo", {}, "Hi", {}};
    records[1] = {"line 9", 5, {}, "Same", {}, "Same", {}};  // not translated
    records[2] = {"line 13", 6, {}, {}, {}, "Bye", {}};      // empty or fuzzy
    const std::vector<TranslatedPair> fromPo = TranslatedPairs(records);
    ASSERT_EQ(fromPo.size(), 1u);
    EXPECT_EQ(fromPo[0].row, 4u);
    EXPECT_EQ(fromPo[0].translation, "Hallo");
}

}  // namespace
}  // namespace qm
