#include <gtest/gtest.h>

#include "commands/find.hpp"
#include "commands/insert.hpp"

namespace qm {
namespace {

std::vector<StringEntry> rowsWithTexts(std::initializer_list<const char*> texts) {
    std::vector<StringEntry> rows;
    for (const char* t : texts) {
        rows.push_back({std::to_string(rows.size() + 1), "None", t, "?", "0004"});
    }
    return rows;
}

TEST(Find, ComparesThePreviewFormWithoutCase) {
    const struct {
        const char* text;
        const char* needle;
        bool found;
    } cases[] = {
        {"Hello(return)world", "o w", true},
        {"Hello(return)world", "o(r", false},
        {"Hi(Pause:5)there", "Pause", false},
        {"Hi(Pause:5)there", "hithere", true},
        {"QUILLMOOR", "quillMoor", true},
        {"abc", "", false},
        {"a) b", ") b", true},
        {"Don't", "DON'T", true},
        {"caf\xC9", "caf\xE9", false},  // only ASCII letters fold
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PreviewContains(c.text, c.needle), c.found) << c.text << " / " << c.needle;
    }
}

TEST(Find, SearchesForwardFromTheGivenRowWithoutWrapping) {
    const auto rows = rowsWithTexts({"ink here", "no match", "Ink again", "more INK", "plain"});
    EXPECT_EQ(FindNextRow(rows, 0, "ink"), 0u);
    EXPECT_EQ(FindNextRow(rows, 1, "ink"), 2u);
    EXPECT_EQ(FindNextRow(rows, 4, "ink"), std::nullopt);
    EXPECT_EQ(FindNextRow(rows, 5, "ink"), std::nullopt);  // past the last row
    EXPECT_EQ(FindNextRow(rows, 99, "ink"), std::nullopt);
    EXPECT_EQ(FindNextRow(rows, 1, "plain"), 4u);  // the last row is searched
    EXPECT_EQ(FindNextRow(rows, 0, ""), std::nullopt);
}

TEST(Find, RepeatedSearchVisitsEveryMatchInOrder) {
    const auto rows = rowsWithTexts({"x", "moor", "x", "Moor(return)", "x", "(Pause:1)MOOR"});
    std::vector<std::size_t> visited;
    for (auto at = FindNextRow(rows, 1, "moor"); at; at = FindNextRow(rows, *at + 1, "moor")) {
        visited.push_back(*at);
    }
    EXPECT_EQ(visited, (std::vector<std::size_t>{1, 3, 5}));
}

TEST(Find, NotFoundMessage) {
    EXPECT_EQ(NotFoundMessage("ink"), "'ink' wasn't found.");
}

TEST(Insert, TokensTakeTheValueAsTyped) {
    EXPECT_EQ(InsertToken(InsertKind::Pause, "5"), "(Pause:5)");
    EXPECT_EQ(InsertToken(InsertKind::TextSpeed, "12"), "(TextSpeed:12)");
    EXPECT_EQ(InsertToken(InsertKind::Animation, "x y"), "(Animation:x y)");
    EXPECT_EQ(InsertToken(InsertKind::Return, "ignored"), "(return)");
}

TEST(Insert, QuestionsShareTheTitleAndDefault) {
    for (auto kind : {InsertKind::Pause, InsertKind::TextSpeed, InsertKind::Animation}) {
        const auto q = InsertQuestionFor(kind);
        EXPECT_EQ(q.title, "Insert Pause");
        EXPECT_EQ(q.defaultValue, "5");
    }
    EXPECT_EQ(InsertQuestionFor(InsertKind::Animation).prompt,
              "Please enter the new animation.\n(0 = Blinking, 1 = Talking, 2 = No movement, 3 = "
              "\"Sleeping\", 4 = Nervous, 5 = Hurt)");
    EXPECT_EQ(InsertQuestionFor(InsertKind::Return).prompt, "");
}

}  // namespace
}  // namespace qm
