// Notes and review states through the tool's process: export and import carry
// them through NAME.qmproj, a copy takes them along, check lists rows by state,
// and a damaged project file stops a verb with its line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "exchange/po_file.hpp"
#include "fixtures/rom_builder.hpp"
#include "script_runner.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;
using testing::readText;

class ProjectScript : public ::testing::Test {
  protected:
    testing::TempDir dir;
    std::string rom = (dir.path() / "story.smc").string();

    void SetUp() override { ASSERT_EQ(run({"demo", rom}).status, 0); }
    testing::ScriptOutcome run(const std::vector<std::string>& args) {
        return testing::runScript(args, dir.path());
    }
    std::string file(const std::string& name) { return (dir.path() / name).string(); }
};

TEST_F(ProjectScript, ExportAndImportCarryNotesAndStatesThroughTheProjectFile) {
    const std::string csv = file("t.csv");
    ASSERT_EQ(run({"export", rom, "-o", csv}).status, 0);
    std::string text = readText(csv);
    EXPECT_TRUE(text.starts_with("Number,Portrait,Text,Coloured,Pointer Value,Note,State\r\n"));
    text.replace(text.find(",0004,,"), 7, ",0004,\"Check the name\nwith the team\",Needs review");
    text.replace(text.find("Quillmoor's library"), 19, "Quillmoors Bibliothek");
    std::ofstream(csv, std::ios::binary | std::ios::trunc) << text;
    EXPECT_EQ(run({"import", rom, csv}).out, "Imported 1 changed row into " + rom +
                                                 "; the notes and states of 1 row into " +
                                                 file("story.qmproj") + "\n");
    EXPECT_NE(readText(file("story.qmproj"))
                  .find("\n  \"rows\": [\n    {\"row\":1,\"state\":\"needs-review\",\"note\":"
                        "\"Check the name\\nwith the team\"}\n  ]\n"),
              std::string::npos);
    EXPECT_EQ(run({"import", rom, csv}).out, "No row changed\n");  // nothing left to change

    if (PoFilesSupported()) {
        const auto po = run({"export", rom, "--format", "po"});
        EXPECT_NE(po.out.find("# Check the name\n# with the team\n#. Portrait: Rosalind"),
                  std::string::npos);
        EXPECT_NE(po.out.find("#, fuzzy\nmsgctxt \"1\"\n"), std::string::npos);
    }
    const auto listed = run({"check", rom, "--state", "needs-review", "--format", "json"});
    EXPECT_EQ(listed.status, 1);
    EXPECT_EQ(nlohmann::json::parse(listed.out)["states"],
              nlohmann::json::parse(R"([{"row": 1, "state": "needs-review",
                                         "note": "Check the name\nwith the team"}])"));
    const auto shown = run({"check", rom, "--state", "Needs-Review"});
    EXPECT_NE(shown.out.find("row 1: Needs review: \"Check the name | with the team\"\n"),
              std::string::npos);
    EXPECT_EQ(run({"import", rom, csv, "--copy", "-q"}).status, 0);
    EXPECT_EQ(readText(file("story Hack.qmproj")), readText(file("story.qmproj")));
}

TEST_F(ProjectScript, ADamagedProjectFileStopsEveryVerbWithItsLine) {
    ASSERT_EQ(run({"export", rom, "-o", file("t.json")}).status, 0);
    std::ofstream(file("story.qmproj"))
        << "{\n  \"version\": 1,\n  \"rows\": [\n    {\"row\": 0}\n  ]\n}\n";
    const auto before = testing::snapshot(dir.path());
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"export", rom, "-o", file("u.json")},
          {"import", rom, file("t.json")},
          {"check", rom}}) {
        const auto r = run(args);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_NE(r.err.find("story.qmproj\": line 4: \"row\" is not a row number"),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(testing::snapshot(dir.path()), before);
    }
}

}  // namespace
}  // namespace qm
