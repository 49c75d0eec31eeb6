// Save ROM on real files: what changes, what stays, and every refusal.
#include <gtest/gtest.h>

#include <filesystem>

#include "errors.hpp"
#include "rom/string_table.hpp"
#include "save/writer.hpp"
#include "save_test_util.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;
using qm::testing::readFile;
using qm::testing::TempDir;
using namespace qm::savetest;

class SaveRomFile : public ::testing::Test {
  protected:
    TempDir dir;
    fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    Bytes original = readFile(rom);

    /// Runs a save that must be refused; the file must not change at all.
    std::string refused(const std::string& path, const std::vector<StringEntry>& rows) {
        auto before = listing(dir.path());
        std::string message = "(no SaveError)";
        try {
            SaveRom(path, rows);
        } catch (const SaveError& e) {
            message = e.what();
        }
        EXPECT_EQ(readFile(rom), original);
        EXPECT_EQ(listing(dir.path()), before);
        return message;
    }
};

TEST_F(SaveRomFile, WritesTableAndTextAndNothingElse) {
    SaveRom(rom.string(), shortRows());
    Bytes saved = readFile(rom);
    ASSERT_EQ(saved.size(), original.size());
    LaidOutText expected = LayOutRows(shortRows());
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (i >= kPointerTableOffset && i < kTextRegionOffset) {
            ASSERT_EQ(saved[i], expected.PointerTable[i - kPointerTableOffset]) << i;
        } else if (i >= kTextRegionOffset && i < kTextRegionOffset + 1024) {
            ASSERT_EQ(saved[i], i % 2 == 0 ? 0x20 : 0xFF) << i;
        } else {
            ASSERT_EQ(saved[i], original[i]) << "offset " << i;
        }
    }
    EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"story.smc"});
}

TEST_F(SaveRomFile, NoEditSaveRewritesAllStringsAndTheWholeTable) {
    // Spoil the pointer table on disk: a save must rebuild every entry.
    Bytes spoiled = original;
    std::fill(spoiled.begin() + kPointerTableOffset, spoiled.begin() + kTextRegionOffset, 0xAB);
    qm::testing::writeFile(rom, spoiled);
    auto rows = LoadStringTable(rom.string());
    ASSERT_EQ(rows.size(), 4u);
    SaveRom(rom.string(), rows);
    Bytes saved = readFile(rom);
    Bytes region(original.begin() + kTextRegionOffset, original.begin() + kTextRegionEnd);
    Bytes savedRegion(saved.begin() + kTextRegionOffset, saved.begin() + kTextRegionEnd);
    EXPECT_EQ(savedRegion, region);  // canonical strings come back byte for byte
    const std::uint16_t expected[] = {0x0400, 0x040A, 0x0412, 0x0413};
    for (std::size_t k = 0; k < 512; ++k) {
        std::uint16_t want = k < 4 ? expected[k] : 0x041A;  // last terminator at 0x1A
        std::size_t at = kPointerTableOffset + 2 * k;
        EXPECT_EQ(saved[at] | (saved[at + 1] << 8), want) << "entry " << k;
    }
}

TEST_F(SaveRomFile, ShorterTextLeavesTheOldTail) {
    auto rows = LoadStringTable(rom.string());
    rows[0].Text = "Hi";  // 7 bytes instead of 10
    rows.resize(1);
    SaveRom(rom.string(), rows);
    Bytes saved = readFile(rom);
    Bytes head(saved.begin() + kTextRegionOffset, saved.begin() + kTextRegionOffset + 7);
    EXPECT_EQ(head, (Bytes{5, 1, 4, 10, 39, 72, 255}));
    EXPECT_TRUE(std::equal(saved.begin() + kTextRegionOffset + 7, saved.end(),
                           original.begin() + kTextRegionOffset + 7));
}

TEST_F(SaveRomFile, RowsAfter512LeaveNoTrace) {
    auto rows = shortRows();
    SaveRom(rom.string(), rows);
    Bytes with512 = readFile(rom);
    qm::testing::writeFile(rom, original);
    for (int i = 0; i < 40; ++i) {
        rows.push_back(row("A much longer row that must never be written " + std::to_string(i)));
    }
    SaveRom(rom.string(), rows);
    EXPECT_EQ(readFile(rom), with512);
}

TEST_F(SaveRomFile, RowsAreNotChangedBySaving) {
    auto rows = LoadStringTable(rom.string());
    auto before = rows;
    SaveRom(rom.string(), rows);
    EXPECT_EQ(rows, before);  // "Pointer Value" keeps its load-time text too
}

TEST_F(SaveRomFile, KeepsPermissions) {
    fs::permissions(rom, fs::perms(0640));
    SaveRom(rom.string(), shortRows());
    EXPECT_EQ(modeOf(rom), 0640u);
}

TEST_F(SaveRomFile, FollowsASymbolicLinkToItsTarget) {
    fs::path link = dir.path() / "link.smc";
    fs::create_symlink("story.smc", link);
    SaveRom(link.string(), shortRows());
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(fs::read_symlink(link), fs::path("story.smc"));
    EXPECT_EQ(readFile(rom)[kTextRegionOffset], 0x20);
    EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"link.smc", "story.smc"}));
}

TEST_F(SaveRomFile, RefusesAnEmptyTable) {
    EXPECT_NE(refused(rom.string(), {}).find("nothing to save"), std::string::npos);
}

TEST_F(SaveRomFile, RefusesARowTheEncoderCannotEncode) {
    auto rows = shortRows();
    rows[16].Text = "(Pause:x)";
    EXPECT_EQ(refused(rom.string(), rows), "Row 17: \"(Pause:x)\" has no number");
}

TEST_F(SaveRomFile, RefusesTextTooLongForTheRegion) {
    std::vector<StringEntry> rows(512, row(""));
    rows[0].Text = std::string(27600, 'a');
    EXPECT_NE(refused(rom.string(), rows).find("17 bytes too long"), std::string::npos);
}

TEST_F(SaveRomFile, RefusesAMissingFileAndCreatesNone) {
    std::string message = refused((dir.path() / "gone.smc").string(), shortRows());
    EXPECT_NE(message.find("does not exist"), std::string::npos) << message;
    EXPECT_FALSE(fs::exists(dir.path() / "gone.smc"));
}

TEST_F(SaveRomFile, RefusesAReadOnlyFile) {
    fs::permissions(rom, fs::perms(0444));
    std::string message = refused(rom.string(), shortRows());
    EXPECT_NE(message.find("read-only"), std::string::npos) << message;
    EXPECT_EQ(modeOf(rom), 0444u);
}

TEST_F(SaveRomFile, RefusesAFolder) {
    fs::create_directory(dir.path() / "folder.smc");
    std::string message = refused((dir.path() / "folder.smc").string(), shortRows());
    EXPECT_NE(message.find("folder"), std::string::npos) << message;
}

TEST_F(SaveRomFile, RefusesAFileShorterThanTheTextRegion) {
    fs::path shortRom = sampleRom().truncateTo(kTextRegionEnd - 1).writeTo(dir.path(), "short.smc");
    Bytes before = readFile(shortRom);
    std::string message = refused(shortRom.string(), shortRows());
    EXPECT_NE(message.find("too short"), std::string::npos) << message;
    EXPECT_EQ(readFile(shortRom), before);
}

TEST_F(SaveRomFile, AcceptsAFileEndingExactlyWithTheRegion) {
    fs::path exact = sampleRom().truncateTo(kTextRegionEnd).writeTo(dir.path(), "exact.smc");
    SaveRom(exact.string(), shortRows());
    EXPECT_EQ(fs::file_size(exact), kTextRegionEnd);
}

TEST_F(SaveRomFile, RefusesADanglingLink) {
    fs::create_symlink("nowhere.smc", dir.path() / "dangling.smc");
    std::string message = refused((dir.path() / "dangling.smc").string(), shortRows());
    EXPECT_NE(message.find("does not exist"), std::string::npos) << message;
    EXPECT_FALSE(fs::exists(dir.path() / "nowhere.smc"));
}

TEST_F(SaveRomFile, RefusesAnEmptyPath) {
    std::string message = refused("", shortRows());
    EXPECT_NE(message.find("no ROM image is open"), std::string::npos) << message;
}

}  // namespace
}  // namespace qm
