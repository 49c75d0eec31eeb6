// suggest, and check with a glossary and spelling, run as a user runs them: the
// suggestions in text and JSON with another ROM image as a further source, the
// glossary's and spelling's warnings (a tiny dictionary found through DICPATH),
// and the options that need another.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "fixtures/rom_builder.hpp"
#include "markup/encoder.hpp"
#include "rom/load.hpp"
#include "script_runner.hpp"
#include "translation/spelling.hpp"

namespace qm {
namespace {

#ifdef _WIN32
constexpr const char* kNoInput = "NUL";
#else
constexpr const char* kNoInput = "/dev/null";
#endif

class Assistant : public ::testing::Test {
  protected:
    testing::TempDir dir;

    testing::ScriptOutcome run(const std::vector<std::string>& args, const std::string& env = "") {
        return testing::runScript(args, dir.path(), "", kNoInput, env);
    }
    // An image with these texts as its first rows (no header, so no checksum warning).
    std::string image(const std::string& name, const std::vector<std::string>& texts) {
        testing::RomBuilder builder;
        for (const std::string& text : texts) {
            builder.addText(text);
        }
        return testing::utf8(builder.writeTo(dir.path(), name));
    }
    std::string file(const std::string& name, const std::string& text) {
        testing::writeFile(dir.path() / name, testing::bytesOf(text));
        return testing::utf8(dir.path() / name);
    }
};

TEST_F(Assistant, SuggestsTranslatedRowsWithLikeOriginals) {
    const std::string original =
        image("o.smc", {"The tide is out.", "The tide is in.", "The tide is out.", "Owls."});
    const std::string translated =
        image("t.smc", {"The tide is out.", "Die Flut ist da und sie steigt und steigt weiter.",
                        "Ebbe.", "Eulen."});
    const std::string other = image("x.smc", {"The tide is out!", "Ebbe!"});
    const std::string otherOriginal = image("xo.smc", {"The tide is out!", "The tide is out."});
    const auto text = run(
        {"suggest", translated, "1", "--original", original, "--from-rom", other, otherOriginal});
    EXPECT_EQ(text.out,
              "row 3 (score 100): \"Ebbe.\"\n" + testing::utf8(dir.path() / "x.smc") +
                  " row 2 (score 100): \"Ebbe!\"\n" +
                  "row 2 (score 75, does not fit): \"Die Flut ist da und sie steigt und steigt "
                  "weiter.\"\n");
    EXPECT_EQ(text.status, 0) << text.err;
    const auto json = run({"suggest", translated, "4", "--original", original, "--format", "json"});
    EXPECT_EQ(nlohmann::json::parse(json.out),
              nlohmann::json::parse(R"({"row": 4, "suggestions": []})"));
    const auto alone =
        run({"suggest", translated, "3", "--original", original, "--format", "json"});
    EXPECT_EQ(nlohmann::json::parse(alone.out)["suggestions"][0],
              nlohmann::json::parse(R"({"row": 2, "score": 75, "text":
                  "Die Flut ist da und sie steigt und steigt weiter.", "fits": false})"));
    EXPECT_EQ(run({"suggest", translated, "513", "--original", original}).status, 2);
}

TEST_F(Assistant, CheckWarnsOfGlossaryTermsAndMisspeltWords) {
    const std::string original = image("o.smc", {"Quillmoor waits.", "Hello there."});
    const std::string translated = image("t.smc", {"Kielmoor wartet.", "Hello thre."});
    const std::string glossary = file("g.csv", "term,translation\nQuillmoor,Federmoor\n");
    EXPECT_EQ(run({"check", translated, "--glossary", glossary}).status, 2);  // needs --original
    const auto checked = run({"check", translated, "--original", original, "--glossary", glossary});
    EXPECT_EQ(checked.out,
              "row 1: glossary: the glossary's \"Federmoor\" for \"Quillmoor\" is "
              "missing\n0 rows overflow; 1 warning\n");
    if (!SpellingAvailable()) {
        EXPECT_EQ(run({"check", translated, "--spelling", "en_US"}).status, 1);
        GTEST_SKIP() << "built without Hunspell";
    }
    file("tiny.aff", "SET UTF-8\n");
    file("tiny.dic", "3\nHello\nthere\nwartet\n");
    const std::string words = file("words.txt", "Kielmoor\n");
    const std::string env = "DICPATH='" + testing::utf8(dir.path()) + "' ";
    const auto spelt = run({"check", translated, "--original", original, "--spelling", "tiny",
                            "--words", words, "--format", "json"},
                           env);
    EXPECT_EQ(nlohmann::json::parse(spelt.out)["warnings"], nlohmann::json::parse(R"([
        {"row": 2, "check": "spelling", "message": "\"thre\" is not in the tiny dictionary",
         "word": "thre"}])"));
    EXPECT_EQ(spelt.status, 1);
    const auto missing = run({"check", translated, "--spelling", "xx"}, env);
    EXPECT_TRUE(missing.err.starts_with("quillmoor-script: No dictionary for \"xx\""))
        << missing.err;
    EXPECT_EQ(run({"check", translated, "--words", words}).status, 2);  // needs --spelling
}

TEST_F(Assistant, CheckSuggestAndReflowTakeTheProjectFileAndTheMapBesideTheImage) {
    const std::string original =
        image("o.smc", {"Quillmoor waits for you.", "Hello there.", "Quillmoor waits for me."});
    const std::string translated =
        image("t.smc", {"Gro{7C}e Stra{7C}e wartet", "Hello thre.", "Kielmoor wartet."});
    file("t.tbl", "7C=\xC3\x9F\n");
    file("g.csv",
         "term,translation\nQuillmoor,Stra\xC3\x9F"
         "e\n");
    file("t.qmproj", R"({"format": "Quillmoor Text Edit project", "version": 1,
        "glossary": "g.csv", "spellingLanguage": "tiny", "ignoredWarnings": [
        {"row": 1, "check": "end-punctuation"}], "projectWords": ["Gro\u00dfe", "Kielmoor",
        "Stra\u00dfe", "wartet"]})");
    file("tiny.aff", "SET UTF-8\n");
    file("tiny.dic", "2\nHello\nthere\n");
    const auto checked = run({"check", translated, "--original", original},
                             "DICPATH='" + testing::utf8(dir.path()) + "' ");
    const std::string misspelt =
        SpellingAvailable() ? "row 2: spelling: \"thre\" is not in the tiny dictionary\n" : "";
    EXPECT_EQ(checked.out, misspelt +
                               "row 3: glossary: the glossary's \"Stra\xC3\x9F"
                               "e\" for "
                               "\"Quillmoor\" is missing\n0 rows overflow; " +
                               (SpellingAvailable() ? "2 warnings" : "1 warning") +
                               " (1 ignored)\n")
        << checked.err;
    EXPECT_EQ(run({"suggest", translated, "3", "--original", original}).out,
              "row 1 (score 75): \"Gro\xC3\x9F"
              "e Stra\xC3\x9F"
              "e wartet\"\n");
    EXPECT_EQ(run({"reflow", translated, "--dry-run"}).out, "Reflowed 0 rows\n");  // 19 columns
    EXPECT_EQ(run({"reflow", translated, "--dry-run", "--charmap", file("none.tbl", "")}).out,
              "row 1: \"Gro{7C}e Stra{7C}e wartet\" -> \"Gro{7C}e Stra{7C}e(return)wartet\"\n"
              "Reflowed 1 row\n");
}

}  // namespace
}  // namespace qm
