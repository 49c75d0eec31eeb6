// The character map through the tool's process: NAME.tbl beside the ROM image
// is used without being named, --charmap overrides it, and every verb that
// reads or writes text shows and takes the mapped characters.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "fixtures/rom_builder.hpp"
#include "script_runner.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;
using testing::readText;

const std::string kSharpS = "\xC3\x9F";
const std::string kRunes = "\xE1\x9A\xA0\xE1\x9A\xB1";

class CharmapScript : public ::testing::Test {
  protected:
    testing::TempDir dir;
    std::string rom = (dir.path() / "story.smc").string();
    std::string table = (dir.path() / "t.json").string();

    void SetUp() override {
        ASSERT_EQ(run({"demo", rom}).status, 0);
        write("story.tbl", "# beside the demo\nA0=\xE1\x9A\xA0\nB1=\xE1\x9A\xB1\n7C=" + kSharpS);
        write("plain.tbl", "");
    }
    testing::ScriptOutcome run(const std::vector<std::string>& args) {
        return testing::runScript(args, dir.path());
    }
    void write(const std::string& name, const std::string& text) {
        std::ofstream(dir.path() / name, std::ios::binary) << text;
    }
    std::string file(const std::string& name) { return (dir.path() / name).string(); }
    /// Row k's text in an export of the ROM image (JSON).
    std::string exported(std::size_t k, std::vector<std::string> options = {}) {
        std::vector<std::string> args = {"export", rom};
        args.insert(args.end(), options.begin(), options.end());
        const auto r = run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return nlohmann::json::parse(r.out)["strings"][k]["text"];
    }
};

TEST_F(CharmapScript, EveryVerbShowsAndTakesTheMappedCharacters) {
    EXPECT_EQ(exported(23), "You found {6A} a strange(return)rune, " + kRunes + ".");
    EXPECT_EQ(exported(23, {"--charmap", file("plain.tbl")}),
              "You found {6A} a strange(return)rune, {A0}{B1}.");
    ASSERT_EQ(run({"export", rom, "-o", table}).status, 0);
    auto doc = nlohmann::json::parse(readText(table));
    doc["strings"][0]["text"] = "Stra" + kSharpS + "e";
    std::string row2;
    for (int i = 0; i < 21; ++i) {
        row2 += kSharpS;  // one column over the box
    }
    doc["strings"][1]["text"] = row2;
    std::ofstream(table, std::ios::trunc) << doc.dump();
    EXPECT_EQ(run({"import", rom, table}).out, "Imported 2 changed rows into " + rom + "\n");
    EXPECT_EQ(exported(0, {"--charmap", file("plain.tbl")}), "Stra{7C}e");  // the code is saved

    const auto checked = run({"check", rom});
    EXPECT_NE(checked.out.find("row 2, line 1: 1 character over: \"" + kSharpS), std::string::npos)
        << checked.out;
    fs::copy_file(rom, file("before.smc"));
    const auto replaced = run({"replace", rom, kSharpS, "ss", "--rows", "1"});
    EXPECT_EQ(replaced.out,
              "row 1: \"Stra" + kSharpS + "e\" -> \"Strasse\"\nReplaced 1 time in 1 row\n")
        << replaced.err;
    const auto diff = run({"diff", file("before.smc"), rom, "--charmap", file("story.tbl")});
    EXPECT_NE(diff.out.find("text: \"Stra" + kSharpS + "e\" -> \"Strasse\""), std::string::npos)
        << diff.out;
}

TEST_F(CharmapScript, ABadMapIsRefusedWithItsLineAndNothingIsWritten) {
    write("story.tbl", "A0=~\n20=^\n");
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"export", rom, "-o", file("out.json")}, "story.tbl\": line 2: the code 20 is \"A\""},
        {{"import", rom, file("plain.tbl")}, "story.tbl\": line 2:"},
        {{"export", rom, "-o", file("story.tbl")}, "story.tbl\" itself, which would be lost"},
        {{"check", rom, "--charmap", file("none.tbl")}, "none.tbl"},
        {{"replace", rom, "a", "\xE2\x82\xAC", "--charmap", file("plain.tbl")},
         "\"\xE2\x82\xAC\" (U+20AC) is a character the game's font does not have: give it a "
         "code in the character map"},
    };
    const auto before = testing::snapshot(dir.path());
    for (const auto& c : cases) {
        const auto r = run(c.args);
        EXPECT_EQ(r.status, 1) << c.args[0];
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(testing::snapshot(dir.path()), before);
    }
}

}  // namespace
}  // namespace qm
