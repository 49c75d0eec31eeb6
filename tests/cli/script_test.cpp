// quillmoor-script run as a user runs it: what the tool adds to the core (exit
// codes, the JSON shape, reading and writing files), with one import end to end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "fixtures/rom_builder.hpp"
#include "rom/layout.hpp"
#include "script_runner.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::runScript;
using testing::slurpFile;

class Script : public ::testing::Test {
  protected:
    testing::TempDir dir;
    fs::path rom = dir.path() / "story.smc";
    fs::path table = dir.path() / "table.json";

    void SetUp() override {
        ASSERT_EQ(run({"demo", rom.string()}).status, 0);
        ASSERT_EQ(run({"export", rom.string(), "-o", table.string()}).status, 0);
    }
    testing::ScriptOutcome run(const std::vector<std::string>& args) {
        return runScript(args, dir.path());
    }
    /// Writes the table with row k's text replaced to `to`.
    void editTable(const fs::path& to, std::size_t k, const std::string& text) {
        auto doc = nlohmann::json::parse(slurpFile(table));
        doc["strings"][k]["text"] = text;
        std::ofstream(to, std::ios::trunc) << doc.dump();
    }
};

TEST_F(Script, ExportWritesTheTableAsTheListShowsIt) {
    const auto doc = nlohmann::json::parse(slurpFile(table));
    const auto& strings = doc.at("strings");
    ASSERT_EQ(strings.size(), kStringCount);
    EXPECT_EQ(strings[0], nlohmann::json::parse(R"({"number": 1, "portrait": "Rosalind",
        "text": "Good morning!(return)The tide's out.", "coloured": "No", "pointer": "0004"})"));
    EXPECT_EQ(strings[509].at("portrait"), "?");
    const auto r = run({"export", rom.string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, slurpFile(table));
}

TEST_F(Script, ImportWritesTheEditedRowIntoACopy) {
    editTable(dir.path() / "edited.json", 0, "Hi");
    const Bytes original = readFile(rom);
    const auto r = run({"import", rom.string(), (dir.path() / "edited.json").string(), "--copy"});
    ASSERT_EQ(r.status, 0) << r.err;
    const fs::path copy = dir.path() / "story Hack.smc";
    EXPECT_EQ(r.out, copy.string() + "\n");
    EXPECT_EQ(readFile(rom), original);
    const Bytes saved = readFile(copy);
    const Bytes first(saved.begin() + kTextRegionOffset, saved.begin() + kTextRegionOffset + 7);
    EXPECT_EQ(first, (Bytes{5, 0, 4, 0, 39, 72, 255}));  // Rosalind, not coloured, "Hi"
}

TEST_F(Script, FailuresExitWithAMessageAndChangeNoFile) {
    editTable(dir.path() / "pause.json", 16, "(Pause:x)");
    std::ofstream(dir.path() / "broken.json") << "{\"strings\": [";
    struct Case {
        std::vector<std::string> args;  // names are files in the test's folder
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"import", "story.smc", "pause.json"}, 1, "Row 17: \"(Pause:x)\" has no number"},
        {{"import", "story.smc", "broken.json"}, 1, "not valid JSON"},
        {{"import", "gone.smc", "table.json"}, 1, "does not exist"},
        {{"export", "gone.smc"}, 1, "Cannot open"},
        {{"import", "story.smc"}, 2, "TABLE is required"},
        {{"export"}, 2, "ROM is required"},
        {{"frobnicate"}, 2, ""},
    };
    const auto before = testing::snapshot(dir.path());
    for (const Case& c : cases) {
        std::vector<std::string> args;
        for (const auto& a : c.args) {
            args.push_back(a.ends_with(".json") || a.ends_with(".smc") ? (dir.path() / a).string()
                                                                       : a);
        }
        const auto r = run(args);
        EXPECT_EQ(r.status, c.status) << c.args.at(0) << " " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(testing::snapshot(dir.path()), before);
    }
}

}  // namespace
}  // namespace qm
