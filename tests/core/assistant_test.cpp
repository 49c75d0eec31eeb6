// The assistant read through a character map and a project file: checks,
// glossary, reflow and suggestions count a mapped code as its character, words
// of display text lie where the edit box shows them, and ignored warnings stay out.
#include <gtest/gtest.h>

#include "fixtures/rom_builder.hpp"
#include "project/assistant.hpp"
#include "translation/reflow.hpp"

namespace qm {
namespace {

const std::string kSharpS = "\xC3\x9F";
const CharacterMap kMap = ParseCharacterMap("7C=\xC3\x9F\n85=-\n");

StringEntry row(std::string text) {
    return {0, Colour::No, std::move(text), 0, {}};
}

TEST(Assistant, ReadsDisplayTextIntoWordsWhereTheEditBoxShowsThem) {
    EXPECT_EQ(ExtraLetters(kMap).of(0x7C), kSharpS);
    EXPECT_EQ(ExtraLetters(kMap).of(0x85), "");  // "-" is no letter
    const struct {
        std::string display;
        std::vector<SpellingWord> words;
    } cases[] = {
        {"Stra" + kSharpS + "e(Pause:5) well-kept",
         {{0, 6, "Stra" + kSharpS + "e"}, {16, 4, "well"}, {21, 4, "kept"}}},
        {"Stra{7C}e \xE1\x9A\xA0\xE1\x9A\xB1's",
         {{0, 4, "Stra"}, {8, 1, "e"}, {10, 4, "\xE1\x9A\xA0\xE1\x9A\xB1's"}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DisplaySpellingWords(c.display), c.words) << c.display;
    }
}

TEST(Assistant, ChecksReadAMappedCodeAsItsCharacter) {
    const std::vector<StringEntry> original = {row("On Mill Street.")};
    const std::vector<StringEntry> rows = {row("Die Stra{7C}e{85}Ecke.")};  // "Straße-Ecke"
    const GlossaryMatcher matcher(Glossary{{}, {{"Street", "Stra" + kSharpS + "e", {}}}});
    EXPECT_TRUE(TranslationChecks(original, {&matcher, nullptr, &kMap}).ofTable(rows).empty());
    const std::vector<Warning> unmapped = TranslationChecks(original, {&matcher}).ofTable(rows);
    ASSERT_EQ(unmapped.size(), 2u);  // {7C} and {85} read as digits, and no "Straße"
    EXPECT_EQ(unmapped[0].check, Check::Digits);
    EXPECT_EQ(unmapped[1].check, Check::Glossary);
}

TEST(Assistant, ReflowAndSuggestionsCountAMappedCharacterAsOneColumn) {
    std::string word;
    for (int i = 0; i < 12; ++i) {
        word += "{7C}";
    }
    const std::vector<StringEntry> rows = {row(word + " " + word)};
    const std::vector<std::size_t> all = {0};
    EXPECT_EQ(ReflowRows(rows, all, kMap)[0].row.Text, word + "(return)" + word);
    EXPECT_FALSE(ReflowRows(rows, all)[0].fits());  // without the map a word is 48 columns
    TranslationAssistant assistant;
    assistant.setMap(kMap);
    assistant.setOriginal(std::vector<StringEntry>{row("a b c"), row("a b c")});
    const std::vector<StringEntry> translated = {row("x"), row(word)};
    const std::vector<Suggestion> found = assistant.suggestionsFor(translated, 0);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].text.size(), 24u);  // twelve "ß"
    EXPECT_TRUE(found[0].fits);
}

TEST(Assistant, LeavesOutTheWarningsTheProjectIgnores) {
    Project project;
    project.ignoredWarnings = {{0, "digits"}, {0, "no-such-check"}, {1, "codes"}};
    EXPECT_EQ(IgnoredWarningsOf(project), (IgnoredWarnings{{0, Check::Digits}, {1, Check::Codes}}));
    SetWarningIgnored(project, 0, Check::Digits, false);
    SetWarningIgnored(project, 0, Check::Spaces, true);
    EXPECT_EQ(IgnoredWarningsOf(project, 0), (IgnoredWarnings{{0, Check::Spaces}}));
    TranslationAssistant assistant;
    assistant.setOriginal(std::vector<StringEntry>{row("12 reeds of Quillmoor.")});
    assistant.setGlossary(Glossary{{"note"}, {{"quillmoor", "Federmoor", {"the town"}}}});
    EXPECT_EQ(assistant.termsOfRow(0),
              (std::vector<FoundTerm>{{"quillmoor", "Federmoor", "note: the town"}}));
    const std::vector<StringEntry> rows = {row("13  Halme.")};
    EXPECT_EQ(assistant.warningsOf(rows, 0, rows[0], project).size(), 2u);  // digits, glossary
    EXPECT_EQ(assistant.warningsOf(rows, project).size(), 2u);
    EXPECT_EQ(assistant.warningsOf(rows, Project()).size(), 3u);
}

TEST(Assistant, FindsTheProjectsGlossaryFromTheRomImagesFolder) {
    Project project;
    const struct {
        const char* glossary;
        const char* rom;
        const char* path;
    } cases[] = {{"", "/t/story.smc", ""},
                 {"g.csv", "/t/story.smc", "/t/g.csv"},
                 {"../g.csv", "story.smc", "../g.csv"},
                 {"/g/g.csv", "/t/story.smc", "/g/g.csv"},
                 {"C:\\g.csv", "D:\\story.smc", "C:\\g.csv"}};
    for (const auto& c : cases) {
        project.glossary = c.glossary;
        EXPECT_EQ(GlossaryPathOf(project, c.rom), c.path) << c.glossary;
    }
}

}  // namespace
}  // namespace qm
