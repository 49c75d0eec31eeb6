// The translator's view: row states against an original, the filter, the jumps to
// the next row that needs work, identical rows, and replace with tokens as units.
#include <gtest/gtest.h>

#include "translation/filter.hpp"
#include "translation/merge.hpp"
#include "translation/replace.hpp"
#include "translation/row_state.hpp"

namespace qm {
namespace {

StringEntry row(std::string text, std::int16_t portrait = 0, bool loaded = false) {
    StringEntry r{portrait, Colour::No, std::move(text), 0, {}};
    if (loaded) {
        r.Loaded = {"bytes", r.Portrait, r.Coloured, r.Text};
    }
    return r;
}

const std::string k20 = "abcdefghijklmnopqrst";

TEST(RowStates, EachStateFromItsOwnRule) {
    const StringEntry original = row("Good morning!", 0, true);
    const struct {
        StringEntry row;
        Translation translation;
        std::vector<OverflowLine> overflow;
        std::size_t problemAt;  // npos: none
        bool changed;
    } cases[] = {
        {original, Translation::Untranslated, {}, std::string::npos, false},
        {row("Good morning!", 3), Translation::Translated, {}, std::string::npos, true},
        {row(k20 + "(Pause:5)(return)" + k20),
         Translation::Translated,
         {},
         std::string::npos,
         true},
        {row(k20 + "u"), Translation::Translated, {{1, k20 + "u", 1}}, std::string::npos, true},
        {row("a(return)b(return)cd(return)" + k20 + "uv"),
         Translation::Translated,
         {{3, "cd", 2}, {4, k20 + "uv", 22}},
         std::string::npos,
         true},
        // The preview shows a placeholder as written, so it takes three places.
        {row("abcdefghijklmnopqr{A}"),
         Translation::Translated,
         {{1, "abcdefghijklmnopqr{A}", 1}},
         std::string::npos,
         true},
        {row("Bad - line"), Translation::Translated, {}, 4, true},
    };
    for (const auto& c : cases) {
        const RowState state = StateOf(c.row, &original);
        EXPECT_EQ(state.translation, c.translation) << c.row.Text;
        EXPECT_EQ(state.overflow, c.overflow) << c.row.Text;
        EXPECT_EQ(state.problem ? state.problem->position : std::string::npos, c.problemAt);
        EXPECT_EQ(state.changed, c.changed) << c.row.Text;
    }
    const std::vector<StringEntry> rows = {cases[0].row, cases[3].row, cases[6].row, row("x")};
    const std::vector<StringEntry> originals(3, original);  // the fourth row has none
    EXPECT_EQ(
        StatusText(CountStates(StatesOf(rows, originals))),
        "2 of 3 translated \xC2\xB7 1 overflow \xC2\xB7 1 cannot be saved \xC2\xB7 0 warnings");
    EXPECT_EQ(StatusText(CountStates(StatesOf(rows, {}))), "1 overflow \xC2\xB7 1 cannot be saved");
}

TEST(RowStates, FilterAndJumps) {
    const std::vector<StringEntry> original = {row("Good morning!(Pause:5)(return)Tide"),
                                               row("The moor"), row("Quill"), row("Quill")};
    const std::vector<StringEntry> rows = {row("Guten Morgen"), original[1], row(k20 + "!!"),
                                           original[3]};
    const std::vector<RowState> states = StatesOf(rows, original);
    const struct {
        const char* text;
        StateChoice state;
        std::vector<std::size_t> rows;
    } cases[] = {
        {"MORNING! tide", StateChoice::All, {0}},  // the original's preview, any case
        {"gen", StateChoice::All, {0}},
        {"pause", StateChoice::All, {}},  // tokens are not in the preview
        {"", StateChoice::Untranslated, {1, 3}},
        {"quill", StateChoice::Translated, {2}},
        {"", StateChoice::Overflows, {2}},
        {"", StateChoice::Changed, {0, 1, 2, 3}},
        {"", StateChoice::Unsaveable, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FilterRows(rows, original, states, {c.text, c.state}), c.rows) << c.text;
    }
    EXPECT_EQ(FilterRows(rows, {}, StatesOf(rows, {}), {"", StateChoice::Untranslated}).size(), 0u);
    EXPECT_EQ(NextUntranslated(states, 0), (RowJump{1, false}));
    EXPECT_EQ(NextUntranslated(states, 3), (RowJump{1, true}));
    EXPECT_EQ(NextUntranslated(states, std::nullopt), (RowJump{1, false}));
    EXPECT_EQ(NextProblem(states, 2), (RowJump{2, true}));  // itself, after going round
    EXPECT_EQ(NextProblem(StatesOf(original, original), 0), RowJump{});
    EXPECT_EQ(IdenticalRows(rows, original, 2), std::vector<std::size_t>{3});
    EXPECT_EQ(IdenticalRows(rows, original, 0), std::vector<std::size_t>{});
}

std::vector<std::size_t> starts(const std::string& text, const std::string& find, bool matchCase,
                                bool wholeWords) {
    std::vector<std::size_t> at;
    for (const TextRange& r : MatchesIn(text, {find, matchCase, wholeWords})) {
        at.push_back(r.start);
    }
    return at;
}

TEST(Replace, MatchesTakeTokensWholeOrNotAtAll) {
    const struct {
        const char* text;
        const char* find;
        bool matchCase, wholeWords;
        std::vector<std::size_t> at;
    } cases[] = {
        {"(Pause:5)Hi", "5)Hi", false, false, {}},
        {"Hi(Pause:5)", "Hi(Pause", false, false, {}},
        {"(Pause:5)Hi", "(pause:5)h", false, false, {0}},
        {"x(TextSpeed:{A})", "{A}", false, false, {}},
        {"x(TextSpeed:{A})", "x(TextSpeed:{A})", true, false, {0}},
        {"(Animation:3)3", "3", false, false, {13}},
        {"a(return)b", "return", false, false, {}},
        {"a(return)b", "(return)b", false, false, {1}},
        {"{1F}F{A}", "F", false, false, {4}},
        {"{1F}F{A}", "{A}", false, false, {5}},
        {"(pause:3)3", "3", false, false, {9}},  // a misspelt token is one piece too
        {"Hello hello", "hello", false, false, {0, 6}},
        {"Hello hello", "hello", true, false, {6}},
        {"the other the", "the", false, false, {0, 5, 10}},
        {"the other the", "the", false, true, {0, 10}},
        {"moor's moor7 (Pause:1)moor", "moor", false, true, {0, 22}},
        {"aaa", "aa", false, false, {0}},
        {"abc", "", false, false, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(starts(c.text, c.find, c.matchCase, c.wholeWords), c.at)
            << c.text << " " << c.find;
    }
}

TEST(Replace, AllCountsRefusesAndWrapsOnce) {
    const std::vector<StringEntry> rows = {row("the moor(Pause:5)"), row("Moor, moor!"),
                                           row("no match"), row("bad - moor")};
    const std::vector<std::size_t> all = {3, 0, 1, 2, 1};  // any order, repeats count once
    const Replacement done = ReplaceAll(rows, all, {"moor", false, false}, "fen");
    EXPECT_EQ(ReplacedText(done), "Replaced 4 times in 3 rows");
    ASSERT_EQ(done.rows.size(), 3u);
    EXPECT_EQ(done.rows[1].row.Text, "fen, fen!");
    EXPECT_EQ(ReplacedText(ReplaceAll(rows, all, {"Moor", true, false}, "Moor")),
              "Replaced 0 times in 0 rows");
    EXPECT_EQ(ReplaceAll(rows, all, {"(Pause:5)", true, false}, "(Pause:9)").rows[0].row.Text,
              "the moor(Pause:9)");
    try {
        ReplaceAll(rows, all, {"moor", false, true}, "m-r");
        ADD_FAILURE() << "no ReplaceError";
    } catch (const ReplaceError& e) {  // row 4 could not be saved before either
        ASSERT_EQ(e.refusals().size(), 2u);
        EXPECT_EQ(e.refusals()[1].row, 1u);
        EXPECT_EQ(e.refusals()[1].position, 1u);
        EXPECT_NE(std::string(e.what()).find("Row 1, character 6: \"-\" is a character"),
                  std::string::npos)
            << e.what();
    }
    const SearchPattern moor{"moor", false, false};
    EXPECT_EQ(FindNextMatch(rows, all, 1, 1, moor), (MatchSearch{TextMatch{1, 6, 4}, false}));
    EXPECT_EQ(FindNextMatch(rows, all, 3, 7, moor), (MatchSearch{TextMatch{0, 4, 4}, true}));
    EXPECT_EQ(FindNextMatch(rows, std::vector<std::size_t>{0}, 0, 5, moor),
              (MatchSearch{TextMatch{0, 4, 4}, true}));
    EXPECT_EQ(FindNextMatch(rows, std::vector<std::size_t>{2}, 0, 0, moor), MatchSearch{});
    EXPECT_EQ(ReplaceMatch(rows, {1, 6, 4}, moor, "fen")->Text, "Moor, fen!");
    EXPECT_EQ(ReplaceMatch(rows, {1, 5, 4}, moor, "fen"), std::nullopt);  // no longer there
    EXPECT_THROW(ReplaceMatch(rows, {1, 6, 4}, moor, "\xE9"), ReplaceError);
}

TEST(Merge, PutsTheUsersRowsOnTopOfTheFileAsItIsNow) {
    const auto changed = [](const char* from, const char* to, std::int16_t portrait = 0) {
        StringEntry r = row(from, 0, true);
        r.Text = to;
        r.Portrait = portrait;
        return r;
    };
    // Rows: nobody changed it; only the user; only the file; both alike; both
    // differently (the user's wins); the user only its portrait, the file its text.
    const std::vector<StringEntry> mine = {row("a", 0, true),  changed("b", "B"),
                                           row("c", 0, true),  changed("d", "D"),
                                           changed("a", "A1"), changed("b", "b", 3)};
    std::vector<StringEntry> theirs;
    for (const char* text : {"a", "b", "C", "D", "A2", "x"}) {
        theirs.push_back(row(text, 0, true));
    }
    const MergedRows merged = MergeRows(mine, theirs);
    ASSERT_EQ(merged.rows.size(), 6u);
    const char* texts[] = {"a", "B", "C", "D", "A1", "b"};
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(merged.rows[k].Text, texts[k]) << k;
        EXPECT_EQ(merged.rows[k].Loaded, theirs[k].Loaded) << k;
    }
    EXPECT_EQ(merged.rows[5].Portrait, 3);
    EXPECT_EQ(merged.conflicts, (std::vector<std::size_t>{4, 5}));
    // The file lost rows: those up to a row the user changed come back, not as the file's.
    const MergedRows shorter = MergeRows(mine, std::span(theirs).first(2));
    EXPECT_TRUE(shorter.rows[2].Text == "c" && shorter.rows[2].Loaded.bytes.empty());
    EXPECT_EQ(shorter.conflicts, (std::vector<std::size_t>{3, 4, 5}));
}

}  // namespace
}  // namespace qm
