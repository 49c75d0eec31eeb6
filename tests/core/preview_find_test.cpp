// The preview's text, the runs that do not fit the text box, and Find's rules.
#include <gtest/gtest.h>

#include "commands/find.hpp"
#include "preview/preview.hpp"

namespace qm {
namespace {

TEST(Preview, DisplayForm) {
    const std::pair<const char*, const char*> cases[] = {
        {"Hi(Pause:5) there(return)Bye", "Hi there Bye"},
        {"a (b) c", "a  c"},
        {"a) b", "a) b"},
        {"x) (y)", "x) "},
        {"open (never closed", "open (never closed"},
        {"((x)y)", "y)"}};
    for (const auto& [markup, preview] : cases) {
        EXPECT_EQ(GetPreview(markup), preview) << markup;
    }
    EXPECT_EQ(PreviewText("Hi(Pause:5) there(return)Bye"), "Hi there\nBye");
    EXPECT_EQ(PreviewText("a(b(return)c)d"), "ad");  // a stretch takes its line break
    std::string hostile(100000, '(');
    EXPECT_EQ(PreviewText(hostile + std::string(100000, ')')), std::string(99999, ')'));
}

TEST(Preview, OverflowBeyondTwoLinesOfTwenty) {
    const std::pair<const char*, std::vector<TextRange>> cases[] = {
        {"12345678901234567890\n12345678901234567890", {}},
        {"1234567890123456789012345", {{20, 5}}},
        {"Hello\nWorld\nHello", {{12, 5}}},
        {"a\nb\nc\nd", {{4, 3}}},
        {"Hello\nWorld\n", {}},
        {"a\nb\nxxxxxxxxxxxxxxxxxxxxxx", {{4, 22}, {24, 2}}}};
    for (const auto& [preview, ranges] : cases) {
        EXPECT_EQ(OverflowRanges(preview), ranges) << preview;
    }
}

TEST(Find, SearchesThePreviewFormForwardWithoutCaseOrWrapping) {
    EXPECT_TRUE(PreviewContains("Hello(return)world", "o w"));
    EXPECT_FALSE(PreviewContains("Hi(Pause:5)there", "Pause"));
    EXPECT_TRUE(PreviewContains("QUILLMOOR", "quillMoor"));
    EXPECT_FALSE(PreviewContains("caf\xC9", "caf\xE9"));  // only ASCII letters fold
    EXPECT_FALSE(PreviewContains("abc", ""));
    std::vector<StringEntry> rows(6);
    const char* texts[] = {"x", "moor", "x", "Moor(return)", "x", "(Pause:1)MOOR"};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].Text = texts[i];
    }
    std::vector<std::size_t> visited;
    for (auto at = FindNextRow(rows, 2, "moor"); at; at = FindNextRow(rows, *at + 1, "moor")) {
        visited.push_back(*at);
    }
    EXPECT_EQ(visited, (std::vector<std::size_t>{3, 5}));
    EXPECT_EQ(FindNextRow(rows, 99, "x"), std::nullopt);
    EXPECT_EQ(NotFoundMessage("ink"), "'ink' wasn't found.");
}

}  // namespace
}  // namespace qm
