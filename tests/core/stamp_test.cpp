// Another writer: a save given the stamp of what was loaded writes nothing over a
// file that changed since (checked after its read and again before its rename),
// and the merge that puts the user's rows on top of the file as it is now.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "errors.hpp"
#include "files.hpp"
#include "fixtures/rom_builder.hpp"
#include "rom/load.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "translation/merge.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;
using testing::readFile;

fs::path sampleRom(const fs::path& dir) {
    return testing::RomBuilder()
        .addString({0x27, 0x48})
        .addString({0x20})
        .writeTo(dir, "story.smc");
}

// Another program's ways of changing the file at path.
void rewriteText(const fs::path& path) {
    Bytes image = readFile(path);
    image[kTextRegionOffset] = 0x21;
    testing::writeFile(path, image);
}
void growFile(const fs::path& path) {
    Bytes image = readFile(path);
    image.push_back(0);
    testing::writeFile(path, image);
}
void touchFile(const fs::path& path) {
    fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(1));
}

// Lets another program write the target once the new file is closed, right
// before the rename.
class Interloper : public FileOps {
  public:
    Interloper(fs::path target, void (*change)(const fs::path&))
        : target_(std::move(target)), change_(change) {}
    int close(FileHandle file) override {
        const int result = FileOps::close(file);
        change_(target_);
        return result;
    }

  private:
    fs::path target_;
    void (*change_)(const fs::path&);
};

TEST(AnotherWriter, ASaveWritesNothingOverAFileThatChangedSinceItWasRead) {
    for (auto change : {rewriteText, growFile, touchFile}) {
        for (bool beforeRename : {false, true}) {
            for (bool copy : {false, true}) {
                testing::TempDir dir, elsewhere;
                const fs::path rom = sampleRom(dir.path());
                const fs::path left = sampleRom(elsewhere.path());  // what the other one leaves
                change(left);
                LoadedRom loaded = LoadRomFile(rom.string());
                EXPECT_TRUE(RomFileMatches(rom.string(), loaded.stamp));
                loaded.rows[1].Text = "Yo";
                Interloper interloper(rom, change);
                FileOps system;
                FileOps& ops = beforeRename ? static_cast<FileOps&>(interloper) : system;
                if (!beforeRename) {
                    change(rom);
                    EXPECT_FALSE(RomFileMatches(rom.string(), loaded.stamp));
                }
                try {
                    copy ? (void)SaveRomAsCopy(rom.string(), loaded.rows, {}, ops, loaded.stamp)
                         : (void)SaveRom(rom.string(), loaded.rows, {}, ops, loaded.stamp);
                    ADD_FAILURE() << "saved over another writer";
                } catch (const FileChangedError& e) {
                    EXPECT_EQ(std::string(e.what()),
                              "\"" + rom.string() +
                                  "\" was changed by another program since it was read; nothing "
                                  "was written.");
                }
                // The other program's file stays as it left it: no copy, no temporary file.
                EXPECT_EQ(testing::snapshot(dir.path()).size(), 1u);
                EXPECT_EQ(readFile(rom), readFile(left));
            }
        }
    }
}

TEST(AnotherWriter, TheStampOfASaveIsTheFileAsWrittenAndTheNextSaveGoesOn) {
    testing::TempDir dir;
    const fs::path rom = sampleRom(dir.path());
    LoadedRom loaded = LoadRomFile(rom.string());
    loaded.rows[1].Text = "Yo";
    const RomStamp saved = SaveRom(rom.string(), loaded.rows, {}, loaded.stamp);
    EXPECT_TRUE(RomFileMatches(rom.string(), saved));
    EXPECT_EQ(saved, LoadRomFile(rom.string()).stamp);
    loaded.rows[1].Text = "Hey";
    EXPECT_TRUE(RomFileMatches(rom.string(), SaveRom(rom.string(), loaded.rows, {}, saved)));
    const SavedCopy copy = SaveRomAsCopy(rom.string(), loaded.rows);
    EXPECT_EQ(copy.stamp, LoadRomFile(copy.path).stamp);
    fs::remove(rom);
    EXPECT_THROW(RomFileMatches(rom.string(), saved), FileError);
}

StringEntry entry(std::string text, std::int16_t portrait = 0) {
    StringEntry r{portrait, Colour::No, std::move(text), 0, {}};
    r.Loaded = {"bytes", r.Portrait, r.Coloured, r.Text, 0};
    return r;
}

StringEntry edited(StringEntry r, std::string text, std::int16_t portrait = 0) {
    r.Text = std::move(text);
    r.Portrait = portrait;
    return r;
}

TEST(AnotherWriter, MergePutsTheUsersRowsOnTopOfTheFileAsItIsNow) {
    const StringEntry a = entry("a"), b = entry("b"), c = entry("c"), d = entry("d");
    // Row by row: nobody changed it; only the user; only the file; both alike;
    // both, differently (the user's wins); the user changed only the portrait.
    const std::vector<StringEntry> mine = {
        a, edited(b, "B"), c, edited(d, "D"), edited(a, "A1"), edited(b, "b", 3)};
    const std::vector<StringEntry> theirs = {a, b, entry("C"), entry("D"), entry("A2"), entry("x")};
    const MergedRows merged = MergeRows(mine, theirs);
    ASSERT_EQ(merged.rows.size(), 6u);
    const char* texts[] = {"a", "B", "C", "D", "A1", "b"};
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(merged.rows[k].Text, texts[k]) << k;
        EXPECT_EQ(merged.rows[k].Loaded, theirs[k].Loaded) << k;
    }
    EXPECT_EQ(merged.rows[5].Portrait, 3);
    EXPECT_EQ(merged.conflicts, (std::vector<std::size_t>{4, 5}));
    // The file lost rows: those up to a row the user changed come back, not from it.
    const MergedRows shorter = MergeRows(mine, std::span(theirs).first(2));
    ASSERT_EQ(shorter.rows.size(), 6u);
    EXPECT_EQ(shorter.rows[2].Text, "c");
    EXPECT_TRUE(shorter.rows[2].Loaded.bytes.empty());
    EXPECT_EQ(shorter.conflicts, (std::vector<std::size_t>{3, 4, 5}));
}

}  // namespace
}  // namespace qm
