// Spelling: the words a dictionary reads (tokens, glyphs, placeholders and mapped
// letters), a tiny dictionary the test writes (no system dictionary needed),
// project words, the spelling check's warnings, and one test against the
// system's en_US dictionary that is skipped without it.
#include <gtest/gtest.h>

#include <algorithm>

#include "errors.hpp"
#include "fixtures/rom_builder.hpp"
#include "project/assistant.hpp"
#include "translation/checks.hpp"
#include "translation/spelling.hpp"

namespace qm {
namespace {

TEST(Spelling, SplitsWhatThePlayerReadsIntoWords) {
    ExtraLetters mapped;
    mapped.set(0x7C, "\xC3\x9F");  // {7C} shows "ß"
    const struct {
        const char* markup;
        std::vector<SpellingWord> words;
    } cases[] = {
        {"Hi(Pause:5) there", {{0, 2, "Hi"}, {12, 5, "there"}}},
        {"Hel(Pause:5)lo!", {{0, 14, "Hello"}}},  // the player reads one word
        {"(Animation:1)Don't", {{13, 5, "Don't"}}},
        {"Rosalind's 'quill'", {{0, 10, "Rosalind's"}, {12, 5, "quill"}}},
        {"the 's and 'll of it", {{0, 3, "the"}, {7, 3, "and"}, {15, 2, "of"}, {18, 2, "it"}}},
        {"one(return)two..three", {{0, 3, "one"}, {11, 3, "two"}, {16, 5, "three"}}},
        {"2nd day 40", {{4, 3, "day"}}},
        {"Stra{7C}e {6A}x",
         {{0, 9,
           "Stra\xC3\x9F"
           "e"},
          {14, 1, "x"}}},
        {"caf\xE9", {{0, 4, "caf\xC3\xA9"}}},  // a Latin-1 letter, in UTF-8
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SpellingWords(c.markup, mapped), c.words) << c.markup;
    }
    EXPECT_EQ(SpellingWords("Stra{7C}e").size(), 2u);  // unmapped, a placeholder parts words
}

TEST(Spelling, ReadsProjectWordLists) {
    EXPECT_EQ(ParseWordList("\xEF\xBB\xBF# names\r\nRosalind\r\n\r\n  Edna \nQuillmoor"),
              (std::vector<std::string>{"Rosalind", "Edna", "Quillmoor"}));
    EXPECT_THROW(ParseWordList("a\nb c\n"), ProjectFileError);
    try {
        ParseWordList("ok\n\xFF\n");
        ADD_FAILURE();
    } catch (const ProjectFileError& e) {
        EXPECT_STREQ(e.what(), "line 2: bytes that are not valid UTF-8");
    }
}

class TinyDictionary : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!SpellingAvailable()) {
            GTEST_SKIP() << "built without Hunspell";
        }
        testing::writeFile(dir.path() / "tiny.aff", testing::bytesOf("SET UTF-8\nTRY elohrwd\n"));
        testing::writeFile(dir.path() / "tiny.dic",
                           testing::bytesOf("4\nhello\nworld\nRosalind\ndon't\n"));
    }
    testing::TempDir dir;
    std::vector<std::string> folders = {testing::utf8(dir.path() / "none"),
                                        testing::utf8(dir.path())};
};

TEST_F(TinyDictionary, KnowsItsWordsInTheirCapitalisationAndTheProjectWords) {
    SpellChecker checker("tiny", folders);
    for (const char* word : {"hello", "Hello", "HELLO", "Rosalind", "Rosalind's", "don't"}) {
        EXPECT_TRUE(checker.correct(word)) << word;
    }
    for (const char* word : {"helo", "rosalind", "Quillmoor", "Quillmoor's", "hello's'"}) {
        EXPECT_FALSE(checker.correct(word)) << word;
    }
    const auto suggested = checker.suggestions("helo");
    EXPECT_NE(std::find(suggested.begin(), suggested.end(), "hello"), suggested.end());
    const std::vector<std::string> words = {"Quillmoor", "hello"};
    checker.setProjectWords(words);
    EXPECT_TRUE(checker.correct("QUILLMOOR"));
    EXPECT_TRUE(checker.correct("Quillmoor's"));
    EXPECT_EQ(checker.projectWords(), words);
    checker.setProjectWords({});  // a dictionary word that was a project word stays right
    EXPECT_FALSE(checker.correct("Quillmoor"));
    EXPECT_TRUE(checker.correct("hello"));
    checker.addProjectWord("Edna");
    EXPECT_EQ(checker.misspelt("Helo(Pause:5) world, Edna.(return)wrld"),
              (std::vector<SpellingWord>{{0, 4, "Helo"}, {34, 4, "wrld"}}));
}

TEST_F(TinyDictionary, RefusesNamesThatAreNoLanguageAndSaysWhatThereIs) {
    EXPECT_EQ(DictionaryLanguages(folders), std::vector<std::string>{"tiny"});
    EXPECT_THROW(SpellChecker("../tiny", folders), SpellingError);
    try {
        SpellChecker("en-US", folders);
        ADD_FAILURE();
    } catch (const SpellingError& e) {
        const std::string what = e.what();
        EXPECT_TRUE(what.starts_with("No dictionary for \"en_US\": none of ")) << what;
        EXPECT_TRUE(what.ends_with("Dictionaries found: tiny.")) << what;
    }
}

TEST_F(TinyDictionary, TheSpellingCheckWarnsOncePerWordOfTranslatedRows) {
    const SpellChecker checker("tiny", folders);
    const std::vector<StringEntry> original = {{0, Colour::No, "hello wrld", 0, {}},
                                               {0, Colour::No, "x", 0, {}}};
    std::vector<StringEntry> rows = original;
    rows[1].Text = "wrld hello wrld";
    const TranslationChecks checks(original, {nullptr, &checker, nullptr});
    const std::string message = "\"wrld\" is not in the tiny dictionary";
    EXPECT_EQ(checks.ofTable(rows),
              (std::vector<Warning>{{1, Check::Spelling, message, {0, 4, "wrld"}},
                                    {1, Check::Spelling, message, {11, 4, "wrld"}}}));
    EXPECT_TRUE(checks.ofTable(rows, {{1, Check::Spelling}}).empty());
    // Without an original every row is checked.
    EXPECT_EQ(TranslationChecks({}, {nullptr, &checker, nullptr}).ofTable(rows).size(), 3u);
}

TEST_F(TinyDictionary, TheAssistantUnderlinesDisplayTextAndKeepsProjectWords) {
    Project project;
    project.projectWords = {"Edna"};
    TranslationAssistant assistant;
    assistant.setSpelling(SpellChecker("tiny", folders), project);
    const std::string display = "Edna: h\xC3\xA9llo wrld";  // "héllo": positions in characters
    EXPECT_EQ(assistant.misspeltIn(display),
              (std::vector<SpellingWord>{{6, 5, "h\xC3\xA9llo"}, {12, 4, "wrld"}}));
    assistant.addProjectWord(project, "wrld");
    EXPECT_EQ(assistant.misspeltIn(display).size(), 1u);
    EXPECT_EQ(project.projectWords, (std::set<std::string>{"Edna", "wrld"}));
}

TEST(SystemDictionary, EnglishReadsTheDemosLines) {
    const std::vector<std::string> languages = DictionaryLanguages(DictionaryFolders());
    if (!SpellingAvailable() ||
        std::find(languages.begin(), languages.end(), "en_US") == languages.end()) {
        GTEST_SKIP() << "no en_US dictionary on this system";
    }
    const SpellChecker english("en_US");
    EXPECT_EQ(english.misspelt("Let's go, then.(Pause:3) Quickly!(return)I've been readnig."),
              (std::vector<SpellingWord>{{51, 7, "readnig"}}));
}

}  // namespace
}  // namespace qm
