// Save As Copy: the copy's name, the copy, and the save into it.
#include <gtest/gtest.h>

#include <filesystem>

#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "save_test_util.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;
using qm::testing::readFile;
using qm::testing::TempDir;
using namespace qm::savetest;

TEST(CopyName, Rules) {
    struct Case {
        const char* path;
        const char* copy;
        const char* fileName;
    };
    const Case cases[] = {
        {"D:\\roms\\story.smc", "D:\\roms\\story Hack.smc", "story.smc"},
        {"game.sfc", "game Hack.smc", "game.sfc"},
        {"a.b.smc", "a.b Hack.smc", "a.b.smc"},
        {"story", "story Hack.smc", "story"},
        {"/my.roms/story", "/my.roms/story Hack.smc", "story"},
        {"C:/x.y\\story", "C:/x.y\\story Hack.smc", "story"},
        {"/roms/story.", "/roms/story Hack.smc", "story."},
        {"/roms/story Hack.smc", "/roms/story Hack Hack.smc", "story Hack.smc"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CopyName(c.path), c.copy) << c.path;
        EXPECT_EQ(FileNameOf(c.path), c.fileName) << c.path;
    }
}

class SaveAsCopy : public ::testing::Test {
  protected:
    TempDir dir;
    fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    fs::path copy = dir.path() / "story Hack.smc";
    Bytes original = readFile(rom);
};

TEST_F(SaveAsCopy, ReplacesTheCopyThenSavesIntoIt) {
    qm::testing::writeFile(copy, Bytes{1, 2, 3});
    Bytes copyAtCallback;
    std::string made = SaveRomAsCopy(rom.string(), shortRows(), {},
                                     [&](const std::string& p) { copyAtCallback = readFile(p); });
    EXPECT_EQ(made, copy.string());
    EXPECT_EQ(copyAtCallback, original);  // the file as it was on disk
    Bytes want = original;
    ApplyLaidOutText(want, LayOutRows(shortRows()));
    EXPECT_EQ(readFile(copy), want);
    EXPECT_EQ(readFile(rom), original);
    EXPECT_EQ(snapshot(dir.path()).size(), 2u);
}

TEST_F(SaveAsCopy, WorksFromAReadOnlyImageAndTwiceGivesASecondHack) {
    fs::permissions(rom, fs::perms(0444));
    std::string first = SaveRomAsCopy(rom.string(), shortRows());
    EXPECT_EQ(readFile(copy)[kTextRegionOffset], 0x20);
    EXPECT_EQ(modeOf(rom), 0444u);
    EXPECT_EQ(modeOf(copy), 0644u);  // a copy can be saved into
    EXPECT_EQ(SaveRomAsCopy(first, shortRows()), (dir.path() / "story Hack Hack.smc").string());
}

TEST_F(SaveAsCopy, RefusalsAndFailedCopiesChangeNothing) {
    auto at = [&](const char* name) { return (dir.path() / name).string(); };
    auto bad = shortRows();
    bad[4].Text = "(Pause:x)";
    sampleRom().truncateTo(1000).writeTo(dir.path(), "short.smc");
    fs::copy_file(rom, at("folder.smc"));  // its copy's place is a folder
    fs::create_directory(at("folder Hack.smc"));
    fs::copy_file(rom, at("locked.smc"));  // its copy is read-only
    qm::testing::writeFile(at("locked Hack.smc"), Bytes{1});
    fs::permissions(at("locked Hack.smc"), fs::perms(0444));
    bool copied = false;
    auto note = [&](const std::string&) { copied = true; };
    Snapshot before = snapshot(dir.path());
    EXPECT_THROW(SaveRomAsCopy(rom.string(), bad, {}, note), SaveError);
    EXPECT_THROW(SaveRomAsCopy(rom.string(), {}, {}, note), SaveError);
    EXPECT_THROW(SaveRomAsCopy(at("gone.smc"), shortRows(), {}, note), SaveError);
    EXPECT_THROW(SaveRomAsCopy(at("short.smc"), shortRows(), {}, note), SaveError);
    EXPECT_THROW(SaveRomAsCopy(at("folder.smc"), shortRows(), {}, note), FileError);
    EXPECT_THROW(SaveRomAsCopy(at("locked.smc"), shortRows(), {}, note), FileError);
    EXPECT_FALSE(copied);
    EXPECT_EQ(snapshot(dir.path()), before);
}

}  // namespace
}  // namespace qm
