// check --original and reflow run as a user runs them: the warnings in text and
// JSON with the exit status --fail-on asks for, and reflow taking exactly the
// overflowing rows it is given, writing nothing on a dry run.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "fixtures/rom_builder.hpp"
#include "markup/encoder.hpp"
#include "rom/load.hpp"
#include "script_runner.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;

class Translation : public ::testing::Test {
  protected:
    testing::TempDir dir;

    testing::ScriptOutcome run(const std::vector<std::string>& args) {
        return testing::runScript(args, dir.path());
    }
    // An image with these texts as its first rows (no header, so no checksum warning).
    std::string image(const std::string& name, const std::vector<std::string>& texts) {
        testing::RomBuilder builder;
        for (const std::string& text : texts) {
            builder.addText(text);
        }
        return testing::utf8(builder.writeTo(dir.path(), name));
    }
};

TEST_F(Translation, CheckListsWarningsAndFailsOnWhatItIsAskedTo) {
    const std::string original = image("o.smc", {"Wait(Pause:5) here.", "Hello there", "Fine."});
    const std::string translated = image("t.smc", {"Warte hier.", "Hallo  da", "Fine."});
    const auto text = run({"check", translated, "--original", original});
    EXPECT_EQ(text.out,
              "row 1: codes: (Pause:5) of the original is missing\n"
              "row 2: spaces: line 1 has two spaces in a row\n0 rows overflow; 2 warnings\n");
    EXPECT_EQ(text.status, 1);
    const auto json = run({"check", translated, "--original", original, "--format", "json"});
    EXPECT_EQ(nlohmann::json::parse(json.out)["warnings"][1], nlohmann::json::parse(R"(
        {"row": 2, "check": "spaces", "message": "line 1 has two spaces in a row"})"));
    EXPECT_EQ(run({"check", translated, "--original", original, "--fail-on", "errors"}).status, 0);
    EXPECT_EQ(run({"check", translated}).out, "0 rows overflow\n");
}

TEST_F(Translation, ReflowTakesOnlyTheOverflowingRowsItIsGiven) {
    const std::string rom = image("r.smc", {"short", "Good morning to you all, my friends",
                                            "one two three four five six seven eight nine ten",
                                            "Hi  there(return)you", "abcdefghijklmnopqrstuvwxyz"});
    const auto before = testing::snapshot(dir.path());
    const auto dry = run({"reflow", rom, "--dry-run"});
    EXPECT_EQ(dry.out,
              "row 2: \"Good morning to you all, my friends\" -> \"Good morning to you(return)all, "
              "my friends\"\nrow 3: \"one two three four five six seven eight nine ten\" -> \"one "
              "two three four(return)five six seven eight(return)nine ten\"\nrow 3: needs 3 "
              "lines\nrow 5: \"abcdefghijklmnopqrstuvwxyz\" is longer than 20 characters\n"
              "Reflowed 2 rows; 2 still do not fit\n");
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(testing::snapshot(dir.path()), before);
    const std::vector<StringEntry> rows = LoadRom(rom);
    const auto done = run({"reflow", rom, "--rows", "1-2,4-", "--quiet"});
    EXPECT_EQ(done.out, "Reflowed 1 row; 1 still do not fit\n");
    std::vector<StringEntry> expected = rows;
    expected[1].Text = "Good morning to you(return)all, my friends";
    const std::vector<StringEntry> after = LoadRom(rom);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        EXPECT_EQ(after[k].Text, expected[k].Text) << k;
    }
    EXPECT_EQ(run({"reflow", rom, "--rows", "9000"}).status, 2);
}

}  // namespace
}  // namespace qm
