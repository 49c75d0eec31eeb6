// Save As Copy: the copy's name, the copy, and the save into it.
#include <gtest/gtest.h>

#include <filesystem>

#include "errors.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "save_test_util.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;
using qm::testing::readFile;
using qm::testing::TempDir;
using namespace qm::savetest;

struct NameCase {
    const char* path;
    const char* copy;
};

class CopyNameRule : public ::testing::TestWithParam<NameCase> {};

TEST_P(CopyNameRule, Gives) {
    EXPECT_EQ(CopyName(GetParam().path), GetParam().copy);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyNameRule,
    ::testing::Values(NameCase{"D:\\roms\\story.smc", "D:\\roms\\story Hack.smc"},
                      NameCase{"/roms/story.smc", "/roms/story Hack.smc"},
                      NameCase{"game.sfc", "game Hack.smc"}, NameCase{"a.b.smc", "a.b Hack.smc"},
                      NameCase{"/r/story", "/r/story Hack.smc"},
                      NameCase{"story", "story Hack.smc"},
                      NameCase{"D:\\my.roms\\story", "D:\\my.roms\\story Hack.smc"},
                      NameCase{"/my.roms/story", "/my.roms/story Hack.smc"},
                      NameCase{"C:/x.y\\story", "C:/x.y\\story Hack.smc"},
                      NameCase{"/roms/story Hack.smc", "/roms/story Hack Hack.smc"},
                      NameCase{"/roms/story.", "/roms/story Hack.smc"}));

TEST(FileNameOf, TakesWhatFollowsTheLastSeparator) {
    EXPECT_EQ(FileNameOf("D:\\roms\\story Hack.smc"), "story Hack.smc");
    EXPECT_EQ(FileNameOf("/roms/story.smc"), "story.smc");
    EXPECT_EQ(FileNameOf("C:/a\\b/c.smc"), "c.smc");
    EXPECT_EQ(FileNameOf("plain.smc"), "plain.smc");
    EXPECT_EQ(FileNameOf(""), "");
}

class SaveAsCopy : public ::testing::Test {
  protected:
    TempDir dir;
    fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    Bytes original = readFile(rom);
};

TEST_F(SaveAsCopy, CopiesThenSavesIntoTheCopy) {
    std::string seen;
    Bytes copyAtCallback;
    std::string copy = SaveRomAsCopy(rom.string(), shortRows(), {}, [&](const std::string& p) {
        seen = p;
        copyAtCallback = readFile(p);
    });
    EXPECT_EQ(copy, (dir.path() / "story Hack.smc").string());
    EXPECT_EQ(seen, copy);
    EXPECT_EQ(copyAtCallback, original);  // the copy is the file as it was on disk
    EXPECT_EQ(readFile(rom), original);   // the open file is not written

    fs::path other = dir.path() / "inplace.smc";
    qm::testing::writeFile(other, original);
    SaveRom(other.string(), shortRows());
    EXPECT_EQ(readFile(copy), readFile(other));
    EXPECT_EQ(listing(dir.path()),
              (std::vector<std::string>{"inplace.smc", "story Hack.smc", "story.smc"}));
}

TEST_F(SaveAsCopy, TwiceGivesASecondHack) {
    std::string first = SaveRomAsCopy(rom.string(), shortRows());
    std::string second = SaveRomAsCopy(first, shortRows());
    EXPECT_EQ(second, (dir.path() / "story Hack Hack.smc").string());
    EXPECT_EQ(readFile(rom), original);
}

TEST_F(SaveAsCopy, ReplacesAnExistingCopy) {
    qm::testing::writeFile(dir.path() / "story Hack.smc", Bytes{1, 2, 3});
    std::string copy = SaveRomAsCopy(rom.string(), shortRows());
    Bytes saved = readFile(copy);
    ASSERT_EQ(saved.size(), original.size());
    EXPECT_EQ(saved[kTextRegionOffset], 0x20);
    EXPECT_EQ(saved[0], original[0]);
}

TEST_F(SaveAsCopy, WorksFromAReadOnlyImage) {
    fs::permissions(rom, fs::perms(0444));
    std::string copy = SaveRomAsCopy(rom.string(), shortRows());
    EXPECT_EQ(readFile(copy)[kTextRegionOffset], 0x20);
    EXPECT_EQ(modeOf(rom), 0444u);
    EXPECT_EQ(modeOf(copy), 0644u);
}

TEST_F(SaveAsCopy, AFileWithoutDotIsCopiedBesideIt) {
    fs::create_directory(dir.path() / "my.roms");
    fs::path plain = dir.path() / "my.roms" / "story";
    qm::testing::writeFile(plain, original);
    std::string copy = SaveRomAsCopy(plain.string(), shortRows());
    EXPECT_EQ(copy, (dir.path() / "my.roms" / "story Hack.smc").string());
    EXPECT_TRUE(fs::exists(copy));
}

TEST_F(SaveAsCopy, RefusalsComeBeforeAnyCopy) {
    auto rows = shortRows();
    rows[4].Text = "(Pause:x)";
    bool copied = false;
    auto note = [&](const std::string&) { copied = true; };
    EXPECT_THROW(SaveRomAsCopy(rom.string(), rows, {}, note), SaveError);
    EXPECT_THROW(SaveRomAsCopy(rom.string(), {}, {}, note), SaveError);
    EXPECT_THROW(SaveRomAsCopy((dir.path() / "gone.smc").string(), shortRows(), {}, note),
                 SaveError);
    fs::path shortRom = sampleRom().truncateTo(1000).writeTo(dir.path(), "short.smc");
    EXPECT_THROW(SaveRomAsCopy(shortRom.string(), shortRows(), {}, note), SaveError);
    EXPECT_FALSE(copied);
    EXPECT_EQ(readFile(rom), original);
    EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"short.smc", "story.smc"}));
}

TEST_F(SaveAsCopy, AFailedCopyChangesNothing) {
    fs::create_directory(dir.path() / "story Hack.smc");  // a folder in the copy's place
    bool copied = false;
    EXPECT_THROW(
        SaveRomAsCopy(rom.string(), shortRows(), {}, [&](const std::string&) { copied = true; }),
        FileError);
    EXPECT_FALSE(copied);
    EXPECT_TRUE(fs::is_directory(dir.path() / "story Hack.smc"));
    EXPECT_EQ(readFile(rom), original);
}

TEST_F(SaveAsCopy, AReadOnlyExistingCopyIsNotReplaced) {
    fs::path copy = dir.path() / "story Hack.smc";
    qm::testing::writeFile(copy, Bytes{1});
    fs::permissions(copy, fs::perms(0444));
    EXPECT_THROW(SaveRomAsCopy(rom.string(), shortRows()), FileError);
    EXPECT_EQ(readFile(copy), Bytes{1});
}

TEST(CopyRomFile, CopiesAndReplaces) {
    TempDir dir;
    qm::testing::writeFile(dir.path() / "a", Bytes{1, 2, 3});
    qm::testing::writeFile(dir.path() / "b", Bytes{9, 9, 9, 9, 9});
    CopyRomFile((dir.path() / "a").string(), (dir.path() / "b").string());
    EXPECT_EQ(readFile(dir.path() / "b"), (Bytes{1, 2, 3}));
    EXPECT_THROW(CopyRomFile((dir.path() / "none").string(), (dir.path() / "c").string()),
                 FileError);
    EXPECT_FALSE(fs::exists(dir.path() / "c"));
}

}  // namespace
}  // namespace qm
