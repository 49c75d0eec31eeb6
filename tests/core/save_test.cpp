// Saving: the layout of the text region, the file written atomically (each step
// made to fail in turn), every refusal, and Save As Copy.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "demo/demo.hpp"
#include "errors.hpp"
#include "files.hpp"
#include "fixtures/rom_builder.hpp"
#include "rom/layout.hpp"
#include "rom/load.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "text.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;
using testing::modeOf;
using testing::readFile;
using testing::snapshot;
using testing::Snapshot;
using testing::TempDir;

StringEntry row(std::string text, std::int16_t portrait = kPortraitNone,
                Colour coloured = Colour::Unset) {
    StringEntry r;
    r.Portrait = portrait;
    r.Coloured = coloured;
    r.Text = std::move(text);
    return r;
}

/// 512 rows of "A" (0x20 0xFF each).
std::vector<StringEntry> shortRows() {
    return std::vector<StringEntry>(512, row("A"));
}

/// A 4 MiB image with four strings; the rest of the region is 0xEE.
testing::RomBuilder sampleRom() {
    testing::RomBuilder b;
    b.addString({5, 1, 4, 10, 39, 72, 1, 5, 95})
        .addString({0x20, 0x5F, 0x41, 0x4D, 0x4D, 0x48, 0x73})
        .addString({})
        .addString({0x33, 0x44, 0x44, 0x0D, 0x61, 0x60, 0x74})
        .regionFiller(0xEE);
    return b;
}

TEST(SaveLayout, StringsEndToEndWithPointersAndProgress) {
    std::vector<std::string> seen;
    LaidOutText t = LayOutRows(
        std::vector<StringEntry>{row("Hi", 7, Colour::Yes), row("", 0, Colour::No), row("")},
        [&](std::string_view s) { seen.emplace_back(s); });
    EXPECT_EQ(t.text, (Bytes{5, 1, 4, 10, 39, 72, 255, 5, 0, 4, 0, 255, 255}));
    EXPECT_EQ(GetLittleEndian16(t.PointerTable, 0), 0x0400);
    EXPECT_EQ(GetLittleEndian16(t.PointerTable, 2), 0x0407);
    // Entries without a row point at the last terminator: an empty string.
    EXPECT_EQ(GetLittleEndian16(t.PointerTable, 2 * 511), 0x040C);
    ASSERT_EQ(seen.size(), 512u);
    EXPECT_EQ(seen[1], "Saving ROM: 0.1%");
    EXPECT_EQ(seen[52], "Saving ROM: 10.%");
    EXPECT_EQ(seen[511], "Saving ROM: 100%");
}

TEST(SaveLayout, RowsAfter512LeaveNoTraceAndTheRegionMayBeFilledExactly) {
    std::vector<StringEntry> rows(512, row(""));
    rows[0].Text = std::string(27583, 'a');  // 27,584 + 511 bytes: exactly full
    LaidOutText full = LayOutRows(rows);
    EXPECT_EQ(full.text.size(), kTextRegionLength);
    EXPECT_EQ(GetLittleEndian16(full.PointerTable, 2 * 511), 0x71BE);
    rows.push_back(row("(Pause:x)"));  // would be refused if it were encoded
    EXPECT_EQ(LayOutRows(rows).text, full.text);
}

TEST(SaveRom, WritesOnlyTheTableAndTheNewTextKeepingTheOldTail) {
    TempDir dir;
    const fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    const Bytes original = readFile(rom);
    SaveRom(rom.string(), std::vector<StringEntry>{row("Hi")});  // 3 bytes where 10 were
    Bytes want = original;
    for (std::size_t k = 0; k < 512; ++k) {
        PutLittleEndian16(want, kPointerTableOffset + 2 * k, k == 0 ? 0x0400 : 0x0402);
    }
    std::copy_n(Bytes{39, 72, 255}.begin(), 3, want.begin() + kTextRegionOffset);
    EXPECT_EQ(readFile(rom), want);
    EXPECT_EQ(snapshot(dir.path()).size(), 1u);
}

TEST(SaveRom, UntouchedRowsKeepTheirBytesBehindAnyCopierHeader) {
    TempDir dir;
    Bytes image(kCopierHeaderLength, 0xAB);
    const Bytes demo = BuildDemoImage();
    image.insert(image.end(), demo.begin(), demo.end());
    const fs::path rom = dir.path() / "demo.smc";
    testing::writeFile(rom, image);
    std::vector<StringEntry> rows = LoadRom(rom.string());
    ASSERT_EQ(rows.at(509).Portrait, kPortraitUnknown);  // a code with no name
    SaveRom(rom.string(), rows);
    EXPECT_EQ(readFile(rom), image);
    rows[0].Text = "Hi";  // 3 bytes where 40 were: entries 1-511 move
    SaveRom(rom.string(), rows);
    const Bytes saved = readFile(rom);
    EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + kCopierHeaderLength + kPointerTableOffset,
                           image.begin()));
    const std::size_t region = kCopierHeaderLength + kTextRegionOffset;
    EXPECT_EQ(Bytes(saved.begin() + region, saved.begin() + region + 7),
              (Bytes{5, 0, 4, 0, 39, 72, 255}));
    MarkSaved(rows);
    EXPECT_TRUE(rows[0].IsUnchanged());
    EXPECT_EQ(rows[0].Loaded.bytes, std::string("\x05\x00\x04\x00\x27\x48\xFF", 7));
}

TEST(SaveRom, RefusalsChangeNoFile) {
    TempDir dir;
    const fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    fs::create_symlink("nowhere.smc", dir.path() / "dangling.smc");
    fs::create_directory(dir.path() / "folder.smc");
    fs::copy_file(rom, dir.path() / "readonly.smc");
    fs::permissions(dir.path() / "readonly.smc", fs::perms(0444));
    sampleRom().truncateTo(kTextRegionEnd - 1).writeTo(dir.path(), "short.smc");
    std::vector<StringEntry> bad(20, row(""));
    bad[16].Text = "(Pause:x)";
    struct Case {
        const char* file;  // "" for no path at all
        std::vector<StringEntry> rows;
        std::string message;
    };
    const Case cases[] = {{"story.smc", {}, "nothing to save"},
                          {"story.smc", bad, "Row 17, character 1: \"(Pause:x)\" has no number"},
                          {"story.smc", std::vector<StringEntry>(512, row(std::string(1000, 'z'))),
                           WithThousands(512 * 1001 - 28095) + " bytes too long"},
                          {"gone.smc", shortRows(), "does not exist"},
                          {"dangling.smc", shortRows(), "does not exist"},
                          {"folder.smc", shortRows(), "folder"},
                          {"readonly.smc", shortRows(), "read-only"},
                          {"short.smc", shortRows(), "too short"},
                          {"", shortRows(), "no ROM image is open"}};
    const Snapshot before = snapshot(dir.path());
    for (const Case& c : cases) {
        try {
            SaveRom(*c.file ? (dir.path() / c.file).string() : "", c.rows);
            ADD_FAILURE() << c.message << ": saved";
        } catch (const SaveError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_EQ(snapshot(dir.path()), before) << c.message;
    }
}

enum class Step { kNone, kOpen, kWrite, kChmod, kFlush, kClose, kRename };

/// Fails the chosen step as the system does (-1, errno EIO); writes at most 1 MiB
/// per call, as the system may.
class FaultyOps : public FileOps {
  public:
    explicit FaultyOps(Step failing) : failing_(failing) {}
    int open(const std::string& path, int flags, mode_t mode) override {
        return fault(Step::kOpen) ? -1 : FileOps::open(path, flags, mode);
    }
    ssize_t write(int fd, const void* data, std::size_t size) override {
        return fault(Step::kWrite) ? -1
                                   : FileOps::write(fd, data, std::min<std::size_t>(size, 1 << 20));
    }
    int fsync(int fd) override { return fault(Step::kFlush) ? -1 : FileOps::fsync(fd); }
    int fchmod(int fd, mode_t mode) override {
        return fault(Step::kChmod) ? -1 : FileOps::fchmod(fd, mode);
    }
    int close(int fd) override {
        const int r = FileOps::close(fd);  // a failing close still releases the descriptor
        return fault(Step::kClose) ? -1 : r;
    }
    int rename(const std::string& from, const std::string& to) override {
        return fault(Step::kRename) ? -1 : FileOps::rename(from, to);
    }

  private:
    bool fault(Step s) {
        if (s != failing_) {
            return false;
        }
        errno = EIO;
        return true;
    }
    Step failing_;
};

TEST(AtomicWrite, AFailingStepLeavesEveryFileAsItWas) {
    for (Step step :
         {Step::kOpen, Step::kWrite, Step::kChmod, Step::kFlush, Step::kClose, Step::kRename}) {
        TempDir dir;
        const fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
        fs::permissions(rom, fs::perms(0640));
        FaultyOps ops(step);
        Snapshot before = snapshot(dir.path());
        EXPECT_THROW(SaveRom(rom.string(), shortRows(), {}, ops), FileError);
        EXPECT_EQ(snapshot(dir.path()), before);
        // Save As Copy: neither a new copy nor a replaced one is left changed.
        EXPECT_THROW(SaveRomAsCopy(rom.string(), shortRows(), {}, ops), FileError);
        EXPECT_EQ(snapshot(dir.path()), before);
        testing::writeFile(dir.path() / "story Hack.smc", Bytes{1, 2, 3});
        before = snapshot(dir.path());
        EXPECT_THROW(SaveRomAsCopy(rom.string(), shortRows(), {}, ops), FileError);
        EXPECT_EQ(snapshot(dir.path()), before);
    }
}

TEST(AtomicWrite, ShortWritesThroughALinkKeepPermissionsAndOwner) {
    TempDir dir;
    const fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    fs::permissions(rom, fs::perms(0640));
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(rom.c_str(), 1234, 4321), 0);
    }
    fs::create_symlink("story.smc", dir.path() / "link.smc");
    Bytes want = readFile(rom);
    ApplyLaidOutText(want, LayOutRows(shortRows()));
    FaultyOps ops(Step::kNone);  // 4 MiB in writes of at most 1 MiB
    SaveRom((dir.path() / "link.smc").string(), shortRows(), {}, ops);
    EXPECT_EQ(fs::read_symlink(dir.path() / "link.smc"), "story.smc");
    EXPECT_EQ(readFile(rom), want);
    EXPECT_EQ(modeOf(rom), 0640u);
    EXPECT_EQ(snapshot(dir.path()).size(), 2u);
    struct stat st {};
    ASSERT_EQ(::stat(rom.c_str(), &st), 0);
    if (::geteuid() == 0) {
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 4321u);
    }
}

TEST(SaveAsCopy, CopyNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"D:\\roms\\story.smc", "D:\\roms\\story Hack.smc"},
        {"game.sfc", "game Hack.smc"},
        {"a.b.smc", "a.b Hack.smc"},
        {"/my.roms/story", "/my.roms/story Hack.smc"},
        {"/roms/story Hack.smc", "/roms/story Hack Hack.smc"}};
    for (const auto& [path, copy] : cases) {
        EXPECT_EQ(CopyName(path), copy) << path;
    }
    EXPECT_EQ(FileNameOf("C:/x.y\\story.smc"), "story.smc");
}

TEST(SaveAsCopy, SavesIntoAFreshCopyOfTheFileOnDisk) {
    TempDir dir;
    const fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    const fs::path copy = dir.path() / "story Hack.smc";
    const Bytes original = readFile(rom);
    testing::writeFile(copy, Bytes{1, 2, 3});
    fs::permissions(rom, fs::perms(0444));
    const std::string made = SaveRomAsCopy(rom.string(), shortRows());
    EXPECT_EQ(made, copy.string());
    Bytes want = original;
    ApplyLaidOutText(want, LayOutRows(shortRows()));
    EXPECT_EQ(readFile(copy), want);
    EXPECT_EQ(readFile(rom), original);
    EXPECT_EQ(modeOf(rom), 0444u);
    EXPECT_EQ(SaveRomAsCopy(made, shortRows()), (dir.path() / "story Hack Hack.smc").string());
}

TEST(SaveAsCopy, RefusalsAndFailedCopiesChangeNothing) {
    TempDir dir;
    const fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    const auto at = [&](const char* name) { return (dir.path() / name).string(); };
    auto bad = shortRows();
    bad[4].Text = "(Pause:x)";
    sampleRom().truncateTo(1000).writeTo(dir.path(), "short.smc");
    fs::copy_file(rom, at("folder.smc"));  // its copy's place is a folder
    fs::create_directory(at("folder Hack.smc"));
    fs::copy_file(rom, at("locked.smc"));  // its copy is read-only
    testing::writeFile(at("locked Hack.smc"), Bytes{1});
    fs::permissions(at("locked Hack.smc"), fs::perms(0444));
    fs::copy_file(rom, at("linked.smc"));  // its copy's name leads back to it
    fs::create_symlink("linked.smc", at("linked Hack.smc"));
    const Snapshot before = snapshot(dir.path());
    EXPECT_THROW(SaveRomAsCopy(rom.string(), bad), SaveError);
    EXPECT_THROW(SaveRomAsCopy(at("gone.smc"), shortRows()), SaveError);
    EXPECT_THROW(SaveRomAsCopy(at("short.smc"), shortRows()), SaveError);
    EXPECT_THROW(SaveRomAsCopy(at("folder.smc"), shortRows()), FileError);
    EXPECT_THROW(SaveRomAsCopy(at("locked.smc"), shortRows()), FileError);
    EXPECT_THROW(SaveRomAsCopy(at("linked.smc"), shortRows()), FileError);
    EXPECT_EQ(snapshot(dir.path()), before);
}

}  // namespace
}  // namespace qm
