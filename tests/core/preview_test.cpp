// The preview's text and the runs that do not fit the game's text box.
#include <gtest/gtest.h>

#include <string>

#include "preview/preview.hpp"

namespace {

using qm::GetPreview;
using qm::OverflowRanges;
using qm::PreviewText;
using qm::TextRange;

struct PreviewCase {
    const char* markup;
    const char* preview;
};

class GetPreviewTable : public ::testing::TestWithParam<PreviewCase> {};

TEST_P(GetPreviewTable, GivesTheDisplayForm) {
    EXPECT_EQ(GetPreview(GetParam().markup), GetParam().preview);
}

INSTANTIATE_TEST_SUITE_P(
    Preview, GetPreviewTable,
    ::testing::Values(PreviewCase{"", ""}, PreviewCase{"Hello", "Hello"},
                      PreviewCase{"Hi(Pause:5) there(return)Bye", "Hi there Bye"},
                      PreviewCase{"(TextSpeed:3)(Animation:1)Go", "Go"},
                      PreviewCase{"a (b) c", "a  c"}, PreviewCase{"a) b", "a) b"},
                      PreviewCase{"x) (y)", "x) "},
                      PreviewCase{"open (never closed", "open (never closed"},
                      PreviewCase{"a(b)c(d", "ac(d"}, PreviewCase{"((x)y)", "y)"},
                      PreviewCase{"(return)(return)", "  "}, PreviewCase{"(Return)", ""},
                      PreviewCase{"{A}&1", "{A}&1"}));

TEST(PreviewText, TurnsReturnsIntoLineBreaksBeforeHidingTokens) {
    EXPECT_EQ(PreviewText("Hi(Pause:5) there(return)Bye"), "Hi there\nBye");
    EXPECT_EQ(PreviewText("(return)"), "\n");
    // A stretch may span a line break; it goes with it.
    EXPECT_EQ(PreviewText("a(b(return)c)d"), "ad");
}

TEST(PreviewText, EndsForLongAndHostileTexts) {
    std::string text(100000, '(');
    text += std::string(100000, ')');
    EXPECT_EQ(PreviewText(text), std::string(99999, ')'));
    EXPECT_EQ(PreviewText(std::string(50000, ')') + "("), std::string(50000, ')') + "(");
}

TEST(OverflowRanges, NothingForTwoLinesOfTwenty) {
    EXPECT_TRUE(OverflowRanges("").empty());
    EXPECT_TRUE(OverflowRanges("12345678901234567890").empty());
    EXPECT_TRUE(OverflowRanges("12345678901234567890\n12345678901234567890").empty());
}

TEST(OverflowRanges, MarksCharacters21OnOfALongLine) {
    EXPECT_EQ(OverflowRanges("1234567890123456789012345"), (std::vector<TextRange>{{20, 5}}));
    EXPECT_EQ(OverflowRanges("short\n123456789012345678901"), (std::vector<TextRange>{{26, 1}}));
}

TEST(OverflowRanges, MarksEverythingFromLineThreeFirst) {
    // Lines Hello, World, Hello: only the third line.
    EXPECT_EQ(OverflowRanges("Hello\nWorld\nHello"), (std::vector<TextRange>{{12, 5}}));
    // Four lines: lines 3 and 4 with the break between them.
    EXPECT_EQ(OverflowRanges("a\nb\nc\nd"), (std::vector<TextRange>{{4, 3}}));
    // A long third line is marked twice: once as line 3, once past its 20th character.
    const std::string longThird = "a\nb\n" + std::string(22, 'x');
    EXPECT_EQ(OverflowRanges(longThird), (std::vector<TextRange>{{4, 22}, {24, 2}}));
}

TEST(OverflowRanges, AnEmptyThirdLineMarksNothing) {
    EXPECT_TRUE(OverflowRanges("Hello\nWorld\n").empty());
    EXPECT_EQ(OverflowRanges("Hello\nWorld\n\nX"), (std::vector<TextRange>{{12, 2}}));
}

}  // namespace
