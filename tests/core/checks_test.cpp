// Checks of a translation against the original, each with rows that must warn and
// rows that must not, the table's warnings (translated rows only, ignored pairs,
// inconsistent translations), and Reflow as the preview counts the columns.
#include <gtest/gtest.h>

#include "translation/checks.hpp"
#include "translation/reflow.hpp"

namespace qm {
namespace {

StringEntry row(std::string text) {
    return {0, Colour::No, std::move(text), 0, {}};
}

TEST(Checks, EachWarnsOnItsFaultAndOnlyThere) {
    using Fn = std::optional<std::string> (*)(const RowReading&, const RowReading&);
    const Fn checks[] = {CheckCodes, CheckEndPunctuation, CheckDigits, CheckSpaces};
    const struct {
        Check check;
        const char* original;
        const char* translation;
        const char* message;  // "": no warning
    } cases[] = {
        {Check::Codes, "Wait(Pause:5) here", "Warte hier", "(Pause:5) of the original is missing"},
        {Check::Codes, "(Pause:5)", "(Pause:6)",
         "(Pause:5) of the original is missing; (Pause:6) is not in the original"},
        {Check::Codes, "(Animation:1)Hi(Pause:5)", "(Pause:5)Hallo(Animation:1)",
         "the codes stand in another order than the original's: (Animation:1) (Pause:5)"},
        {Check::Codes, "(Pause:{A})Hi(TextSpeed:3)", "(Pause: 10 )Hallo(TextSpeed:3.9)", ""},
        {Check::EndPunctuation, "Where?", "Wo!", "ends in \"!\" where the original ends in \"?\""},
        {Check::EndPunctuation, "Wait...", "Warte.",
         "ends in \".\" where the original ends in \"..\""},
        {Check::EndPunctuation, "Hi!", "Hallo", "ends in no mark where the original ends in \"!\""},
        {Check::EndPunctuation, "Oh no!(return)", "Oh(return)nein!  (Pause:5)", ""},
        {Check::Digits, "12 reeds, not 11!", "13 Halme, nicht 11!",
         "reads the numbers 13, 11 where the original reads the numbers 12, 11"},
        {Check::Digits, "Day 4", "Tag vier",
         "reads no number where the original reads the number 4"},
        {Check::Digits, "12 and(return)3", "12 und 3(Pause:9)", ""},
        {Check::Spaces, "Hello there", "Hallo  da", "line 1 has two spaces in a row"},
        {Check::Spaces, "Hi(return)there", "Hallo (return) da",
         "line 2 starts with a space; line 1 ends with a space"},
        {Check::Spaces, "Hm...  well ", "Hm...  na ", ""},
    };
    for (const auto& c : cases) {
        const auto found =
            checks[static_cast<int>(c.check)](ReadRow(c.translation), ReadRow(c.original));
        EXPECT_EQ(found.value_or(""), c.message) << c.translation;
    }
}

TEST(Checks, ATableWarnsTranslatedRowsOnlyAndLeavesIgnoredOnesOut) {
    const std::vector<StringEntry> original = {row("Where is it?"), row("Where is it?"),
                                               row("Where is it?"), row("Day 4")};
    const std::vector<StringEntry> rows = {row("Wo ist es?"), row("Wo ist das?"),
                                           row("Where is it?"), row("Tag vier")};
    const TranslationChecks checks(original);
    const std::vector<Warning> all = checks.ofTable(rows);
    const std::vector<Warning> expected = {
        {0, Check::Inconsistent, "row 2 translates the same original differently"},
        {1, Check::Inconsistent, "row 1 translates the same original differently"},
        {3, Check::Digits, "reads no number where the original reads the number 4"}};
    EXPECT_EQ(all, expected);
    EXPECT_EQ(checks.ofTable(rows, {{3, Check::Digits}}),
              std::vector<Warning>(expected.begin(), expected.end() - 1));
    EXPECT_EQ(checks.ofRow(rows, 1, row("Wo ist es?")), std::vector<Warning>{});
    EXPECT_EQ(checks.ofRow(rows, 4, row("x")), std::vector<Warning>{});  // no original row
    EXPECT_EQ(
        std::vector<std::size_t>(checks.sameOriginal(1).begin(), checks.sameOriginal(1).end()),
        (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(CountWarnings(all), (WarningCounts{3, 3, {0, 0, 1, 0, 2}}));
    EXPECT_EQ(NextWarning(all, 4, 1), (RowJump{3, false}));
    EXPECT_EQ(NextWarning(all, 4, 3), (RowJump{0, true}));
    EXPECT_EQ(CheckNamed("end-punctuation"), Check::EndPunctuation);
}

TEST(Reflow, FillsEachLineWhileTheNextWordFitsAsThePreviewCounts) {
    const struct {
        const char* markup;
        const char* text;
        std::size_t lines;
        const char* longWord;
    } cases[] = {
        {"(TextSpeed:3)Shh... the owls are(Pause: 5 ) asleep (Animation:2)now.",
         "(TextSpeed:3)Shh... the owls are(Pause: 5 )(return)asleep (Animation:2)now.", 2, ""},
        {"abcdefghijklmnopqrst and  more", "abcdefghijklmnopqrst(return)and more", 2, ""},
        {"Hi abcdefghijklmnopqrstu end", "Hi(return)abcdefghijklmnopqrstu(return)end", 3,
         "abcdefghijklmnopqrstu"},
        {"one two(return)(return)three four five six seven eight nine ten",
         "one two three four(return)five six seven eight(return)nine ten", 3, ""},
        {"Greta's ink.. is dry a", "Greta's ink.. is dry(return)a", 2, ""},  // 's and .. take 2
        {"", "", 1, ""},
    };
    for (const auto& c : cases) {
        const ReflowedText r = ReflowText(c.markup);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(r.lines, c.lines) << c.markup;
        EXPECT_EQ(r.longWord, c.longWord) << c.markup;
    }
    const std::vector<StringEntry> rows = {row("Hi  there"), row(cases[1].markup),
                                           row("abcdefghijklmnopqrstuvwxyz")};
    const std::vector<std::size_t> scope = {2, 0, 1, 7};
    const std::vector<ReflowedRow> done = ReflowRows(rows, scope);
    ASSERT_EQ(done.size(), 2u);  // the row that fits is not taken, however it is spaced
    EXPECT_EQ(done[0].index, 1u);
    EXPECT_EQ(done[0].row.Text, cases[1].text);
    EXPECT_TRUE(done[0].changed && done[0].fits());
    EXPECT_FALSE(done[1].changed || done[1].fits());
}

}  // namespace
}  // namespace qm
