// The glossary: its file read with a clear refusal for each fault and written so
// it reads back the same, terms found as whole words in any case in what the
// player reads, and the glossary check's message.
#include <gtest/gtest.h>

#include "errors.hpp"
#include "fixtures/rom_builder.hpp"
#include "translation/checks.hpp"
#include "translation/glossary.hpp"

namespace qm {
namespace {

Glossary glossaryOf(std::vector<std::pair<std::string, std::string>> pairs) {
    Glossary glossary;
    for (auto& [term, translation] : pairs) {
        glossary.terms.push_back({term, translation, {}});
    }
    return glossary;
}

TEST(Glossary, FindsTermsAsWholeWordsInAnyCaseInWhatThePlayerReads) {
    const struct {
        const char* term;
        const char* markup;
        bool found;
    } cases[] = {
        {"Quillmoor", "Welcome to QUILLMOOR!", true},
        {"Quillmoor", "Quillmoor's library", true},
        {"Quillmoor", "Quillmoors library", false},
        {"Quillmoor", "Quill(Pause:5)moor", true},  // the player reads one word
        {"old mill", "the Old(return)Mill", true},  // a line break reads as a space
        {"Day", "Day4 begins", false},
        {"\xC3\x89lan", "with \xE9lan", true},  // "Élan" in "élan", Latin-1 markup
    };
    for (const auto& c : cases) {
        const GlossaryMatcher matcher(glossaryOf({{c.term, "x"}}));
        EXPECT_EQ(matcher.termsIn(PlayerText(c.markup)).size(), c.found ? 1u : 0u) << c.markup;
    }
    const GlossaryMatcher cyrillic(glossaryOf({{"\xD0\x9C\xD0\xB8\xD1\x80", "x"}}));  // "Мир"
    EXPECT_EQ(cyrillic.termsIn("\xD0\x9C\xD0\x98\xD0\xA0!").size(), 1u);              // "МИР!"
    const GlossaryMatcher matcher(glossaryOf({{"mill", "M\xC3\xBChle"}, {"Edna", "Edna"}}));
    EXPECT_EQ(matcher.termsIn("Edna's mill"), (std::vector<std::size_t>{1, 0}));  // by place
    EXPECT_TRUE(matcher.translationIn(0, "die M\xC3\x9CHLE"));
}

TEST(Glossary, TheCheckNamesEachTermWhoseTranslationIsMissing) {
    const GlossaryMatcher matcher(
        glossaryOf({{"Quillmoor", "Federmoor"}, {"library", "Bibliothek"}}));
    const std::vector<std::size_t> terms = matcher.termsIn("Quillmoor's library opens at 9.");
    EXPECT_EQ(matcher.check(terms, "Die Bibliothek von Federmoor"), std::nullopt);
    EXPECT_EQ(matcher.check(terms, "Die Federmoorer Bibliothek"),
              "the glossary's \"Federmoor\" for \"Quillmoor\" is missing");
    EXPECT_EQ(matcher.check({}, "anything"), std::nullopt);
}

TEST(Glossary, TheCheckTakesTranslatedRowsWhoseOriginalHoldsATerm) {
    const std::vector<StringEntry> original = {{0, Colour::No, "Quillmoor!", 0, {}},
                                               {0, Colour::No, "Quillmoor?", 0, {}},
                                               {0, Colour::No, "The moor", 0, {}}};
    std::vector<StringEntry> rows = original;
    rows[1].Text = "Federmoor?";
    rows[2].Text = "Das Moor";
    const GlossaryMatcher matcher(glossaryOf({{"Quillmoor", "Federmoor"}}));
    rows[0].Text = "Quillmoor!";  // untranslated: no warning
    EXPECT_TRUE(TranslationChecks(original, {&matcher, nullptr, nullptr}).ofTable(rows).empty());
    rows[1].Text = "Kielmoor?";
    EXPECT_EQ(
        TranslationChecks(original, {&matcher, nullptr, nullptr}).ofTable(rows),
        (std::vector<Warning>{
            {1, Check::Glossary, "the glossary's \"Federmoor\" for \"Quillmoor\" is missing"}}));
}

TEST(Glossary, RefusesEachFaultWithItsLine) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"", "line 1: the first line must be the header \"term,translation\""},
        {"name,translation\r\nA,B\r\n",
         "line 1: the first line must be the header "
         "\"term,translation\""},
        {"term,translation\nA,B\n\nC\n", "line 4: a line needs a term and a translation"},
        {"term,translation,note\nA,B,n,x\n", "line 2: the line has 4 fields; the header names 3"},
        {"term,translation\nA, \n", "line 2: the translation is empty"},
        {"term,translation\nEdna,Edna\nEDNA,Edda\n",
         "line 3: the term \"EDNA\" is in the glossary already"},
        {"term,translation\n\"A\nB\",C\n", "line 2: the term \"A\\nB\" holds a line break"},
        {"term,translation\n\"A,B\n", "line 2: column 1: a quoted field has no closing quote"},
        {"term,translation\nA\xFF,B\n", "line 2: column 2: bytes that are not valid UTF-8"},
    };
    for (const auto& c : cases) {
        try {
            ParseGlossary(c.text);
            ADD_FAILURE() << c.text;
        } catch (const ProjectFileError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(Glossary, ReadsAndWritesItsFileWithNotes) {
    const Glossary read = ParseGlossary(
        "\xEF\xBB\xBF Term , TRANSLATION ,note,context\r\n Edna , Edna,a witch\r\n"
        "\"Sea, the\",\"\"\"Die\"\" See\",,\r\n");
    const Glossary expected = {
        {"note", "context"},
        {{"Edna", "Edna", {"a witch", ""}}, {"Sea, the", "\"Die\" See", {"", ""}}}};
    EXPECT_EQ(read, expected);
    EXPECT_EQ(GlossaryNotes(read, read.terms[0]), "note: a witch");
    EXPECT_EQ(GlossaryText(read),
              "term,translation,note,context\r\nEdna,Edna,a witch,\r\n"
              "\"Sea, the\",\"\"\"Die\"\" See\",,\r\n");
    testing::TempDir dir;
    const std::string path = testing::utf8(dir.path() / "g.csv");
    WriteGlossary(path, read);
    EXPECT_EQ(ReadGlossary(path), read);
    Glossary added = read;
    EXPECT_THROW(AddGlossaryTerm(added, {"SEA, THE", "See", {}}), ProjectFileError);
    EXPECT_EQ(added, read);
    testing::writeFile(dir.path() / "bad.csv", testing::bytesOf("term,translation\n,x\n"));
    try {
        ReadGlossary(testing::utf8(dir.path() / "bad.csv"));
        ADD_FAILURE();
    } catch (const ProjectFileError& e) {
        EXPECT_EQ(std::string(e.what()), "The glossary \"" + testing::utf8(dir.path() / "bad.csv") +
                                             "\": line 2: the term is empty");
    }
}

TEST(Glossary, AnImportTakesTheTermsItLacksWithTheirNotesUnderTheirCaptions) {
    Glossary glossary = {{"Note"}, {{"Edna", "Edna", {"a witch"}}}};
    const Glossary from = {{"context", "NOTE"},
                           {{"EDNA", "Edda", {"", "other"}},
                            {"Quillmoor", "Federmoor", {"", "the town"}},
                            {"Mill", "M\xC3\xBChle", {"old", ""}}}};
    EXPECT_EQ(MergeGlossary(glossary, from), 2u);
    const Glossary expected = {{"Note", "context"},
                               {{"Edna", "Edna", {"a witch", ""}},
                                {"Quillmoor", "Federmoor", {"the town", ""}},
                                {"Mill", "M\xC3\xBChle", {"", "old"}}}};
    EXPECT_EQ(glossary, expected);
    EXPECT_EQ(MergeGlossary(glossary, from), 0u);
    EXPECT_EQ(glossary, expected);
}

}  // namespace
}  // namespace qm
