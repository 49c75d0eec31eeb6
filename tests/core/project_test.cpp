// Notes, review states and recovery: the project file round trip and its
// one-row-a-line layout, every refusal with its line, how PO, CSV and JSON carry
// notes and states, the rule for edited rows, and the recovery file's contents.
#include <gtest/gtest.h>

#include "demo/demo.hpp"
#include "errors.hpp"
#include "exchange/formats.hpp"
#include "exchange/po_file.hpp"
#include "fixtures/rom_builder.hpp"
#include "project/project_file.hpp"
#include "project/recovery.hpp"
#include "rom/load.hpp"
#include "translation/filter.hpp"
#include "translation/row_state.hpp"

namespace qm {
namespace {

Project sampleProject() {
    Project p;
    p.reviews[0] = {"Check \"Rosalind\" with the team\nand the wiki", ReviewState::NeedsReview};
    p.reviews[16] = {"", ReviewState::Approved};
    p.reviews[511] = {"caf\xC3\xA9", ReviewState::None};
    p.glossary = "glossary.csv";
    p.spellingLanguage = "de_DE";
    p.projectWords = {"Quillmoor", "Rosalind"};
    p.ignoredWarnings = {{16, "codes"}};
    p.otherKeys = {{"laterIssue", "{\"kept\":true}"}};
    return p;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

TEST(ProjectFile, RoundTripsAndAChangedNoteChangesOneLine) {
    const Project p = sampleProject();
    const std::string text = ProjectText(p);
    EXPECT_EQ(ParseProject(text), p);
    EXPECT_EQ(ProjectText(ParseProject(text)), text);
    Project edited = p;
    edited.reviews[16].note = "fine";
    const std::vector<std::string> before = linesOf(text), after = linesOf(ProjectText(edited));
    ASSERT_EQ(before.size(), after.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        differing += before[i] != after[i] ? 1 : 0;
    }
    EXPECT_EQ(differing, 1u);
    EXPECT_NE(
        ProjectText(edited).find("\n    {\"row\":17,\"state\":\"approved\",\"note\":\"fine\"}"),
        std::string::npos);
    EXPECT_TRUE(Project().empty());
    EXPECT_EQ(ProjectPathFor("dir/story.smc"), "dir/story.qmproj");
}

TEST(ProjectFile, ADamagedFileIsRefusedWithItsLine) {
    const std::string head = "{\n  \"version\": 1,\n  \"rows\": [\n";
    const std::pair<std::string, const char*> cases[] = {
        {"{\n  \"version\": 1,\n  oops\n}", "line 3: this is not valid JSON"},
        {"[1]", "line 1: this is no JSON object"},
        {"{\n  \"version\": 2\n}", "line 2: this is no project file of version 1"},
        {"{\n  \"version\": 1,\n  \"rows\": 5\n}", "line 3: \"rows\" is not a list"},
        {"{\n  \"version\": 1,\n  \"glossary\": 5\n}", "line 3: \"glossary\" is not a text"},
        {head + "    {\"row\": 1},\n    {\"row\": 0}\n  ]\n}", "line 5: \"row\" is not a row"},
        {head + "    {\"row\": 513}\n  ]\n}", "line 4: \"row\" is not a row number from 1 to 512"},
        {head + "    {\"row\": 2},\n    {\"row\": 2}\n  ]\n}", "line 5: row 2 comes a second time"},
        {head + "    {\"row\": 2, \"state\": \"done\"}\n  ]\n}",
         "line 4: the state \"done\" is none"},
        {head + "    {\"row\": 2, \"note\": 7}\n  ]\n}", "line 4: \"note\" is not a text"},
    };
    for (const auto& [text, message] : cases) {
        try {
            ParseProject(text);
            ADD_FAILURE() << text;
        } catch (const ProjectFileError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, std::string(message).size()), message);
        }
    }
}

TEST(Reviews, AnEditDraftsWhatWasNotUnderReview) {
    EXPECT_EQ(StateAfterTextChange(ReviewState::None), ReviewState::None);
    EXPECT_EQ(StateAfterTextChange(ReviewState::Approved), ReviewState::Draft);
    EXPECT_EQ(StateAfterTextChange(ReviewState::NeedsReview), ReviewState::NeedsReview);
    EXPECT_EQ(ReviewStateNamed("NEEDS-review"), ReviewState::NeedsReview);
    EXPECT_EQ(ReviewStateNamed("Needs review"), ReviewState::NeedsReview);
    EXPECT_FALSE(ReviewStateNamed("done"));
    const auto rows = LoadRom(BuildDemoImage());
    const Reviews reviews = sampleProject().reviews;
    const std::vector<RowState> states = StatesOf(rows, {}, CharacterMap(), reviews);
    EXPECT_TRUE(
        StatusText(CountStates(states)).ends_with(" \xC2\xB7 1 need review \xC2\xB7 1 approved"));
    EXPECT_EQ(NextNeedingReview(states, 0), (RowJump{0, true}));
    EXPECT_EQ(FilterRows(rows, {}, states, {"", StateChoice::Approved}),
              std::vector<std::size_t>{16});
}

// What each format does with notes and states, and the rows they change.
TEST(Reviews, TablesCarryNotesAndStates) {
    const auto rows = LoadRom(BuildDemoImage());
    const Reviews reviews = sampleProject().reviews;
    for (TableFormat format : {TableFormat::Json, TableFormat::Csv, TableFormat::Po}) {
        if (format == TableFormat::Po && !PoFilesSupported()) {
            continue;
        }
        const TableContext context{{}, nullptr, &reviews};
        const std::string text = TableToText(format, rows, context);
        const TableImport same = ApplyTable(rows, TableFromText(format, text, context), context);
        EXPECT_EQ(same.reviews, reviews) << int(format);
        EXPECT_EQ(same.reviewsChanged, 0u);
        // Without the context's reviews the file carries none, and its import keeps them.
        const std::string bare = TableToText(format, rows);
        EXPECT_EQ(ApplyTable(rows, TableFromText(format, bare), context).reviews, reviews);
    }
    // An empty cell changes nothing; a state the cell changes is taken; an edit
    // of an Approved row's text under an unchanged state drafts it.
    const std::string csv =
        "Number,Text,Note,State\n1,Hi,,approved\n17,Changed,fine,Approved\n2,New,,\n";
    const TableImport fromCsv = ApplyTable(rows, TableFromCsv(csv), {{}, nullptr, &reviews});
    EXPECT_EQ(ReviewOf(fromCsv.reviews, 0), (RowReview{reviews.at(0).note, ReviewState::Approved}));
    EXPECT_EQ(ReviewOf(fromCsv.reviews, 16), (RowReview{"fine", ReviewState::Draft}));
    EXPECT_EQ(ReviewOf(fromCsv.reviews, 1), RowReview());  // no state before, none after
    EXPECT_EQ(fromCsv.reviewsChanged, 2u);
    EXPECT_THROW(ApplyTable(rows, TableFromCsv("Number,State\n1,Done\n")), TableError);
}

TEST(Reviews, PoFuzzyEntriesComeInMarkedNeedsReview) {
    if (!PoFilesSupported()) {
        GTEST_SKIP() << "a build without PO files";
    }
    const auto rows = LoadRom(BuildDemoImage());
    const Reviews reviews = {{0, {"", ReviewState::NeedsReview}}, {2, {"", ReviewState::Approved}}};
    const std::string po =
        "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
        "#, fuzzy\nmsgctxt \"2\"\nmsgid \"x\"\nmsgstr \"Unsicher\"\n\n"
        "msgctxt \"1\"\nmsgid \"x\"\nmsgstr \"Good morning!\"\n\n"
        "# Name?\nmsgctxt \"3\"\nmsgid \"x\"\nmsgstr \"\"\n";
    const TableContext context{{}, nullptr, &reviews};
    const TableImport taken = ApplyTable(rows, TableFromPo(po, context), context);
    EXPECT_EQ(ApplyTable(rows, TableFromPo(po)).rows[1].Text, rows[1].Text);  // no reviews: left
    EXPECT_EQ(taken.rows[1].Text, "Unsicher");
    EXPECT_EQ(ReviewOf(taken.reviews, 1).state, ReviewState::NeedsReview);
    EXPECT_EQ(ReviewOf(taken.reviews, 0).state, ReviewState::Draft);  // no longer fuzzy
    EXPECT_EQ(ReviewOf(taken.reviews, 2), (RowReview{"Name?", ReviewState::Approved}));
}

TEST(Recovery, HoldsTheUnsavedWorkAndGivesItBack) {
    std::vector<StringEntry> rows = LoadRom(BuildDemoImage());
    rows[3].Text = "Neu";
    rows[7].Portrait = 2;
    Recovery r{"/home/me/story.smc",
               4194304,
               1796000000,
               ChangedRows(rows),
               EditBoxState{9,
                            "Stra\xC3\x9F"
                            "e",
                            1, Colour::Yes, 5},
               sampleProject()};
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(
        r.rows[0],
        (RecoveredRow{3, {3, Colour::Unset, rows[3].Loaded.text}, {3, Colour::Unset, "Neu"}}));
    const std::string text = RecoveryText(r);
    EXPECT_EQ(ParseRecovery(text), r);
    EXPECT_EQ(linesOf(text).size(), 13u);  // a line a key, and a line a row
    EXPECT_EQ(RecoveryQuestion(r, "14:02"), "Recover 3 unsaved rows from 14:02?");
    const std::vector<StringEntry> file = LoadRom(BuildDemoImage());
    EXPECT_EQ(ApplyRecovery(file, r)[3].Text, "Neu");
    EXPECT_TRUE(ChangedSince(r, file).empty());
    std::vector<StringEntry> otherWriter = file;
    otherWriter[7].Text = "Changed elsewhere";
    EXPECT_EQ(ChangedSince(r, otherWriter), std::vector<std::size_t>{7});
    const std::string name = RecoveryFileName(r.romPath, r.romSize);
    EXPECT_TRUE(name.starts_with("story.smc-") && name.ends_with(".qmrecovery")) << name;
    EXPECT_NE(RecoveryFileName(r.romPath, r.romSize + 512), name);
    EXPECT_NE(RecoveryFileName("/other/story.smc", r.romSize), name);
    testing::TempDir dir;
    const std::string path = WriteRecoveryFile(testing::utf8(dir.path()), r);
    EXPECT_EQ(ReadRecoveryFile(path), r);
    RemoveRecoveryFile(path);
    EXPECT_FALSE(ReadRecoveryFile(path));
    std::string damaged = text;
    damaged.replace(damaged.find("\"portrait\":1"), 12, "\"portrait\":9");
    EXPECT_THROW(ParseRecovery(damaged), ProjectFileError);
}

}  // namespace
}  // namespace qm
