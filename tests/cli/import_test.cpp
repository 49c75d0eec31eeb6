// quillmoor-script import, run as a user runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "core/save_test_util.hpp"
#include "fixtures/rom_builder.hpp"
#include "save/writer.hpp"
#include "script_runner.hpp"

namespace {

namespace fs = std::filesystem;
using qm::Bytes;
using qm::testing::readFile;
using qm::testing::slurpFile;

/// Writes the table with row k's text replaced to `to`.
void editTable(const fs::path& from, const fs::path& to, std::size_t k, const std::string& text) {
    auto doc = nlohmann::json::parse(slurpFile(from));
    doc["strings"][k]["text"] = text;
    std::ofstream(to, std::ios::trunc) << doc.dump();
}

/// Row k's stored bytes, up to and with its terminator.
Bytes stringAt(const Bytes& image, std::size_t k) {
    std::size_t at = qm::kPointerTableOffset + 2 * k;
    auto begin =
        image.begin() + qm::kTextRegionOffset + (image[at] | image[at + 1] << 8) - qm::kPointerBase;
    return Bytes(begin, std::find(begin, image.end(), qm::kTerminator) + 1);
}

class ImportVerb : public ::testing::Test {
  protected:
    qm::testing::TempDir dir;
    fs::path rom = dir.path() / "story.smc";
    fs::path table = dir.path() / "table.json";

    void SetUp() override {
        ASSERT_EQ(run({"demo", rom.string()}).status, 0);
        ASSERT_EQ(run({"export", rom.string(), "-o", table.string()}).status, 0);
    }

    qm::testing::ScriptOutcome run(const std::vector<std::string>& args) {
        return qm::testing::runScript(args, dir.path());
    }
};

TEST_F(ImportVerb, UnchangedTableWritesWhatSaveRomWrites) {
    const Bytes original = readFile(rom);
    auto r = run({"import", rom.string(), table.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out + r.err, "");
    const Bytes saved = readFile(rom);
    fs::path core = dir.path() / "core.smc";
    qm::testing::writeFile(core, original);
    qm::SaveRom(core.string(), qm::LoadStringTable(core.string()));
    EXPECT_EQ(saved, readFile(core));
    // Only the demo's three strings stored in a non-canonical byte form change
    // (an unnamed portrait byte, "'s" and ".." as two bytes); they come last.
    std::vector<std::size_t> changed;
    for (std::size_t k = 0; k < qm::kStringCount; ++k) {
        if (stringAt(saved, k) != stringAt(original, k)) {
            changed.push_back(k + 1);
        }
    }
    EXPECT_EQ(changed, (std::vector<std::size_t>{510, 511, 512}));
}

TEST_F(ImportVerb, CopyGetsTheEditedTableAndItsPathIsPrinted) {
    editTable(table, table, 0, "Hi");
    fs::path copy = dir.path() / "story Hack.smc";
    qm::testing::writeFile(copy, Bytes{1, 2, 3});
    const Bytes original = readFile(rom);
    auto r = run({"import", rom.string(), table.string(), "--copy"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, copy.string() + "\n");
    EXPECT_EQ(readFile(rom), original);
    const Bytes saved = readFile(copy);
    EXPECT_EQ(stringAt(saved, 0), (Bytes{5, 0, 4, 0, 39, 72, 255}));  // Rosalind, not coloured
    ASSERT_EQ(run({"import", rom.string(), table.string()}).status, 0);
    EXPECT_EQ(readFile(rom), saved);  // in place: the same bytes
}

struct Refusal {
    const char* name;
    std::vector<std::string> args;  // after "import"; names are files in the test's folder
    int status;
    std::string message;
};

const Refusal kRefusals[] = {
    {"Unencodable", {"story.smc", "pause.json"}, 1, "Row 17: \"(Pause:x)\" has no number"},
    {"UnencodableCopy", {"story.smc", "pause.json", "--copy"}, 1, "Row 17: \"(Pause:x)\""},
    {"NotLatin1", {"story.smc", "wide.json"}, 1, "row 17, \"text\": a character above U+00FF"},
    {"BadJson", {"story.smc", "broken.json"}, 1, "not in the export format"},
    {"MissingTable", {"story.smc", "none.json"}, 1, "Cannot read the table"},
    {"MissingRom", {"gone.smc", "table.json"}, 1, "does not exist"},
    {"ReadOnlyRom", {"readonly.smc", "table.json"}, 1, "read-only"},
    {"UsageNoTable", {"story.smc"}, 2, "TABLE is required"},
    {"UsageUnknownOption", {"story.smc", "table.json", "--bogus"}, 2, "--bogus"},
};

class ImportRefusal : public ImportVerb, public ::testing::WithParamInterface<Refusal> {};

TEST_P(ImportRefusal, ExitsWithAMessageAndChangesNoFile) {
    editTable(table, dir.path() / "pause.json", 16, "(Pause:x)");
    editTable(table, dir.path() / "wide.json", 16, "\u0100");
    std::ofstream(dir.path() / "broken.json") << "{\"strings\": [";
    fs::copy_file(rom, dir.path() / "readonly.smc");
    fs::permissions(dir.path() / "readonly.smc", fs::perms(0444));
    std::vector<std::string> args = {"import"};
    for (const auto& a : GetParam().args) {
        args.push_back(a.starts_with("-") ? a : (dir.path() / a).string());
    }
    auto before = qm::savetest::snapshot(dir.path());
    auto r = run(args);
    EXPECT_EQ(r.status, GetParam().status);
    EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(qm::savetest::snapshot(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(Each, ImportRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
