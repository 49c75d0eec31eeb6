// quillmoor-script import, run as a user runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>

#include "fixtures/rom_builder.hpp"
#include "rom/demo.hpp"
#include "rom/string_table.hpp"
#include "save/writer.hpp"
#include "script_runner.hpp"

namespace {

namespace fs = std::filesystem;
using qm::Bytes;
using qm::testing::readFile;
using qm::testing::TempDir;

using Outcome = qm::testing::ScriptOutcome;
using qm::testing::slurpFile;

class ImportVerb : public ::testing::Test {
  protected:
    TempDir dir;
    fs::path rom = dir.path() / "story.smc";
    fs::path table = dir.path() / "table.json";

    void SetUp() override {
        ASSERT_EQ(run({"demo", rom.string()}).status, 0);
        ASSERT_EQ(run({"export", rom.string(), "-o", table.string()}).status, 0);
    }

    Outcome run(const std::vector<std::string>& args) {
        return qm::testing::runScript(args, dir.path());
    }

    /// What Save ROM does to the demo image with its own rows, in the core.
    Bytes savedByCore() {
        fs::path expected = dir.path() / "expected.bin";
        qm::testing::writeFile(expected, qm::BuildDemoImage());
        qm::SaveRom(expected.string(), qm::LoadStringTable(expected.string()));
        Bytes bytes = readFile(expected);
        fs::remove(expected);
        return bytes;
    }

    void editTable(const std::function<void(nlohmann::json&)>& edit) {
        auto doc = nlohmann::json::parse(slurpFile(table));
        edit(doc);
        std::ofstream(table, std::ios::binary | std::ios::trunc) << doc.dump();
    }

    /// A refused import: status 1, the message on stderr, no file changed or made.
    void expectRefused(const std::vector<std::string>& args, const std::string& message) {
        Bytes before = readFile(rom);
        auto names = [&] {
            std::vector<std::string> n;
            for (const auto& e : fs::directory_iterator(dir.path()))
                n.push_back(e.path().filename());
            std::sort(n.begin(), n.end());
            return n;
        };
        auto listing = names();
        Outcome r = run(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(readFile(rom), before);
        EXPECT_EQ(names(), listing);
    }
};

TEST_F(ImportVerb, UnchangedTableWritesWhatSaveRomWrites) {
    const Bytes original = readFile(rom);
    Outcome r = run({"import", rom.string(), table.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const Bytes saved = readFile(rom);
    EXPECT_EQ(saved, savedByCore());
    // Only the demo's three non-canonical strings (rows 510-512, stored at the
    // end of the text) are rewritten; every other byte of the file is as before.
    std::size_t first = saved.size(), last = 0, count = 0;
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i] != original[i]) {
            first = std::min(first, i);
            last = i;
            ++count;
        }
    }
    ASSERT_GT(count, 0u);
    EXPECT_GE(first, qm::kPointerTableOffset + 2 * 510);
    EXPECT_LT(last, qm::kTextRegionEnd);
    EXPECT_LE(count, 40u);
    std::cout << "[ info ] " << count << " bytes differ, offsets 0x" << std::hex << first
              << " to 0x" << last << std::dec << "\n";
}

TEST_F(ImportVerb, ExportImportExportGivesTheSameTable) {
    ASSERT_EQ(run({"import", rom.string(), table.string()}).status, 0);
    fs::path again = dir.path() / "again.json";
    ASSERT_EQ(run({"export", rom.string(), "-o", again.string()}).status, 0);
    auto a = nlohmann::json::parse(slurpFile(table))["strings"];
    auto b = nlohmann::json::parse(slurpFile(again))["strings"];
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i]["text"], b[i]["text"]) << "row " << i + 1;
        // Row 510 has an unnamed portrait byte (7), shown "?"; "?" writes no
        // portrait code, so it comes back as "None".
        EXPECT_EQ(i + 1 == 510 ? "None" : a[i]["portrait"], b[i]["portrait"]) << "row " << i + 1;
        EXPECT_EQ(a[i]["coloured"], b[i]["coloured"]) << "row " << i + 1;
    }
}

TEST_F(ImportVerb, EditedRowLandsInTheFile) {
    editTable([](nlohmann::json& doc) {
        doc["strings"][0]["text"] = "Hi";
        doc["strings"][0]["portrait"] = "Mad Ms. Edna";
        doc["strings"][0]["coloured"] = "Yes";
    });
    ASSERT_EQ(run({"import", rom.string(), table.string()}).status, 0);
    auto rows = qm::LoadStringTable(rom.string());
    EXPECT_EQ(rows[0].Text, "Hi");
    EXPECT_EQ(rows[0].Portrait, "Mad Ms. Edna");
    EXPECT_EQ(rows[0].Coloured, "Yes");
    Bytes saved = readFile(rom);
    EXPECT_EQ(
        Bytes(saved.begin() + qm::kTextRegionOffset, saved.begin() + qm::kTextRegionOffset + 7),
        (Bytes{5, 1, 4, 10, 39, 72, 255}));
}

TEST_F(ImportVerb, CopyPrintsTheCopyAndLeavesTheRomAlone) {
    const Bytes original = readFile(rom);
    Outcome r = run({"import", rom.string(), table.string(), "--copy"});
    ASSERT_EQ(r.status, 0) << r.err;
    fs::path copy = dir.path() / "story Hack.smc";
    EXPECT_EQ(r.out, copy.string() + "\n");
    EXPECT_EQ(readFile(rom), original);
    EXPECT_EQ(readFile(copy), savedByCore());
}

TEST_F(ImportVerb, CopyReplacesAnExistingCopy) {
    fs::path copy = dir.path() / "story Hack.smc";
    qm::testing::writeFile(copy, Bytes{1, 2, 3});
    ASSERT_EQ(run({"import", rom.string(), table.string(), "--copy"}).status, 0);
    EXPECT_EQ(readFile(copy), savedByCore());
}

TEST_F(ImportVerb, RefusesARowTheEncoderCannotEncode) {
    editTable([](nlohmann::json& doc) { doc["strings"][16]["text"] = "(Pause:x)"; });
    expectRefused({"import", rom.string(), table.string()}, "Row 17: \"(Pause:x)\" has no number");
    expectRefused({"import", rom.string(), table.string(), "--copy"},
                  "Row 17: \"(Pause:x)\" has no number");
}

TEST_F(ImportVerb, RefusesAnEmptyTable) {
    editTable([](nlohmann::json& doc) { doc["strings"] = nlohmann::json::array(); });
    expectRefused({"import", rom.string(), table.string()}, "nothing to save");
}

TEST_F(ImportVerb, RefusesTextTooLong) {
    editTable([](nlohmann::json& doc) { doc["strings"][0]["text"] = std::string(30000, 'a'); });
    expectRefused({"import", rom.string(), table.string()}, "bytes too long");
}

TEST_F(ImportVerb, RefusesAReadOnlyRom) {
    fs::permissions(rom, fs::perms(0444));
    expectRefused({"import", rom.string(), table.string()}, "read-only");
}

TEST_F(ImportVerb, RefusesAMissingRom) {
    Outcome r = run({"import", (dir.path() / "gone.smc").string(), table.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("does not exist"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir.path() / "gone.smc"));
}

TEST_F(ImportVerb, RefusesAShortRom) {
    Bytes image = readFile(rom);
    image.resize(qm::kTextRegionEnd - 1);
    qm::testing::writeFile(rom, image);
    expectRefused({"import", rom.string(), table.string()}, "too short");
}

TEST_F(ImportVerb, RefusesAFolder) {
    fs::create_directory(dir.path() / "folder.smc");
    Outcome r = run({"import", (dir.path() / "folder.smc").string(), table.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("folder"), std::string::npos) << r.err;
}

TEST_F(ImportVerb, RefusesABadTable) {
    std::ofstream(table, std::ios::trunc) << "{\"strings\": [";
    expectRefused({"import", rom.string(), table.string()}, "not in the export format");
    std::ofstream(table, std::ios::trunc) << "{\"strings\": [{\"text\": \"x\"}]}";
    expectRefused({"import", rom.string(), table.string()}, "row 1");
    expectRefused({"import", rom.string(), (dir.path() / "none.json").string()},
                  "Cannot read the table");
}

}  // namespace
