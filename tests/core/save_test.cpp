// Saving: the layout of the text region, untouched rows kept byte for byte, the
// file written atomically (each step made to fail in turn), every refusal, a file
// another program changed since it was read, and Save As Copy.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>

#include "demo/demo.hpp"
#include "errors.hpp"
#include "files.hpp"
#include "files_platform.hpp"
#include "fixtures/rom_builder.hpp"
#include "rom/layout.hpp"
#include "rom/load.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "text.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::snapshot;
using testing::TempDir;

StringEntry row(std::string text, std::int16_t portrait = kPortraitNone,
                Colour coloured = Colour::Unset) {
    StringEntry r;
    r.Portrait = portrait;
    r.Coloured = coloured;
    r.Text = std::move(text);
    return r;
}

const std::vector<StringEntry> kShortRows(512, row("A"));  // 0x20 0xFF each

/// A 4 MiB image with four strings.
testing::RomBuilder sampleRom() {
    testing::RomBuilder b;
    b.addString({5, 1, 4, 10, 39, 72, 1, 5, 95})
        .addString({0x20, 0x5F, 0x41, 0x4D, 0x4D, 0x48, 0x73})
        .addString({})
        .addString({0x33, 0x44, 0x44, 0x0D, 0x61, 0x60, 0x74});
    return b;
}

Bytes savedImage(Bytes image, std::span<const StringEntry> rows) {
    ApplyLaidOutText(image, LayOutRows(rows));
    return image;
}

TEST(SaveLayout, StringsEndToEndPointersProgressAndTheLimits) {
    std::vector<std::string> seen;
    const LaidOutText t = LayOutRows(
        std::vector<StringEntry>{row("Hi", 7, Colour::Yes), row("", 0, Colour::No), row("")},
        [&](std::string_view s) { seen.emplace_back(s); });
    EXPECT_EQ(t.text, (Bytes{5, 1, 4, 10, 39, 72, 255, 5, 0, 4, 0, 255, 255}));
    EXPECT_EQ(GetLittleEndian16(t.PointerTable, 2), 0x0407);
    // Entries without a row point at the last terminator: an empty string.
    EXPECT_EQ(GetLittleEndian16(t.PointerTable, 2 * 511), 0x040C);
    ASSERT_EQ(seen.size(), 512u);
    EXPECT_EQ(seen[52], "Saving ROM: 10.%");
    EXPECT_EQ(seen[511], "Saving ROM: 100%");
    std::vector<StringEntry> rows(512, row(""));
    rows[0].Text = std::string(27583, 'a');  // 27,584 + 511 bytes: exactly full
    const LaidOutText full = LayOutRows(rows);
    EXPECT_EQ(GetLittleEndian16(full.PointerTable, 2 * 511), 0x71BE);
    rows.push_back(row("(Pause:x)"));  // would be refused if it were encoded
    EXPECT_EQ(LayOutRows(rows).text, full.text);
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
    const std::size_t region = kCopierHeaderLength + kTextRegionOffset;
    EXPECT_TRUE(
        std::equal(saved.begin(), saved.begin() + region - kPointerTableLength, image.begin()));
    EXPECT_EQ(Bytes(saved.begin() + region, saved.begin() + region + 7),
              (Bytes{5, 0, 4, 0, 39, 72, 255}));
    // Behind the new, shorter text the old bytes stay, up to the end of the file.
    std::size_t end = region + 7 - rows[0].Loaded.bytes.size();
    for (const StringEntry& r : rows) {
        end += r.Loaded.bytes.size();
    }
    EXPECT_TRUE(std::equal(saved.begin() + end, saved.end(), image.begin() + end));
}

TEST(SaveRom, RefusalsChangeNoFile) {
    TempDir dir;
    const fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
#ifndef _WIN32
    fs::create_symlink("nowhere.smc", dir.path() / "dangling.smc");
#endif
    fs::create_directory(dir.path() / "folder.smc");
    fs::copy_file(rom, dir.path() / "readonly.smc");
    fs::permissions(dir.path() / "readonly.smc", fs::perms(0444));
    sampleRom().truncateTo(kTextRegionEnd - 1).writeTo(dir.path(), "short.smc");
    fs::create_directory(dir.path() / "big");  // the snapshots do not read it
    fs::resize_file(sampleRom().writeTo(dir.path() / "big", "huge.smc"), kLargestRomImage + 1);
    std::vector<StringEntry> bad(20, row(""));
    bad[16].Text = "(Pause:x)";
    const std::vector<StringEntry> huge(512, row(std::string(1000, 'z')));
    std::vector<StringEntry> overFull(512, row(""));
    overFull[0].Text = std::string(27584, 'a');  // one byte more than the region holds
    const std::tuple<const char*, std::vector<StringEntry>, std::string> cases[] = {
        {"story.smc", {}, "nothing to save"},
        {"story.smc", bad, "Row 17, character 1: \"(Pause:x)\" has no number"},
        {"story.smc", huge, WithThousands(512 * 1001 - 28095) + " bytes too long"},
        {"story.smc", overFull, "is 1 byte too long"},
        {"gone.smc", kShortRows, "does not exist"},
#ifndef _WIN32
        {"dangling.smc", kShortRows, "does not exist"},  // a link to a file that has gone
#endif
        {"folder.smc", kShortRows, "folder"},
        {"readonly.smc", kShortRows, "read-only"},
        {"short.smc", kShortRows, "too short"},
        {"big/huge.smc", kShortRows, "too large for a ROM image (67,108,865 bytes; no image"},
        {"", kShortRows, "no ROM image is open"}};
    const auto before = snapshot(dir.path());
    for (const auto& [file, rows, message] : cases) {
        try {
            SaveRom(*file ? (dir.path() / file).string() : "", rows);
            ADD_FAILURE() << message << ": saved";
        } catch (const SaveError& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
        EXPECT_EQ(snapshot(dir.path()), before) << message;
    }
}

TEST(SaveRom, StringsFillTheTextRegionToItsLastByteAndNoFurther) {
    TempDir dir;
    const fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    const Bytes before = readFile(rom);
    std::vector<StringEntry> rows(512, row(""));
    rows[0].Text = std::string(27583, 'a');  // 27,584 + 511 bytes: exactly full
    SaveRom(rom.string(), rows);
    const Bytes after = readFile(rom);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[kTextRegionEnd - 1], kTerminator);
    EXPECT_TRUE(
        std::equal(after.begin() + kTextRegionEnd, after.end(), before.begin() + kTextRegionEnd));
}

TEST(SaveRom, TheNextLoadFindsExactlyTheStringsSaved) {
    TempDir dir;
    testing::RomBuilder image;
    for (std::size_t k = 0; k < 511; ++k) {
        image.addString(Bytes(k == 0 ? 40 : 1, 0x20));
    }
    const fs::path rom = image.writeTo(dir.path(), "story.smc");
    std::vector<StringEntry> rows = LoadRom(rom.string());
    rows[0].Text = "Hi";  // 38 bytes shorter: old terminators lie behind the new end
    SaveRom(rom.string(), rows);
    std::vector<StringEntry> again = LoadRom(rom.string());
    ASSERT_EQ(again.size(), 511u);
    EXPECT_EQ(again[0].Text, "Hi");
    EXPECT_EQ(again.back().Text, rows.back().Text);
}

enum class Step { kNone, kOpen, kWrite, kChmod, kFlush, kClose, kRename };

/// Fails the chosen step as the system does (an error code); writes at most 1 MiB
/// per call, as the system may, and a failing write only after the first.
class FaultyOps : public FileOps {
  public:
    explicit FaultyOps(Step failing, bool keepsTemp = false)
        : failing_(failing), keepsTemp_(keepsTemp) {}
    int create(const std::string& p, std::uint32_t m, FileHandle& f) override {
        return failing_ == Step::kOpen ? EIO : FileOps::create(p, m, f);
    }
    int write(FileHandle f, const void* data, std::size_t size, std::size_t& written) override {
        return failing_ == Step::kWrite && writes_++ > 0  // half way through
                   ? EIO
                   : FileOps::write(f, data, std::min(size, std::size_t{1} << 20), written);
    }
    int flush(FileHandle f) override { return failing_ == Step::kFlush ? EIO : FileOps::flush(f); }
    int setPermissions(FileHandle f, std::uint32_t m) override {
        return failing_ == Step::kChmod ? EIO : FileOps::setPermissions(f, m);
    }
    int close(FileHandle f) override {
        const int r = FileOps::close(f);  // a failing close still releases the file
        return failing_ == Step::kClose ? EIO : r;
    }
    int replace(const std::string& a, const std::string& b) override {
        return failing_ == Step::kRename ? EPERM : FileOps::replace(a, b);
    }
    // An append-only folder: nothing in it may be removed.
    int remove(const std::string& p) override { return keepsTemp_ ? EPERM : FileOps::remove(p); }

  private:
    Step failing_;
    bool keepsTemp_;
    int writes_ = 0;
};

TEST(AtomicWrite, AFailingStepLeavesEveryFileAsItWas) {
    for (Step step :
         {Step::kOpen, Step::kWrite, Step::kChmod, Step::kFlush, Step::kClose, Step::kRename}) {
        TempDir dir;
        const fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
        FaultyOps ops(step);
        for (bool oldCopy : {false, true}) {  // Save As Copy: a new copy, a replaced one
            if (oldCopy) {
                testing::writeFile(dir.path() / "story Hack.smc", Bytes{1, 2, 3});
            }
            const auto before = snapshot(dir.path());
            EXPECT_THROW(SaveRom(rom.string(), kShortRows, {}, ops), FileError);
            if (oldCopy || step != Step::kChmod) {  // a new copy takes what the umask leaves
                EXPECT_THROW(SaveRomAsCopy(rom.string(), kShortRows, {}, ops), FileError);
            }
            EXPECT_EQ(snapshot(dir.path()), before);
        }
    }
}

TEST(AtomicWrite, ATemporaryFileThatCannotBeRemovedIsNamedInTheMessage) {
    TempDir dir;
    const fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    FaultyOps ops(Step::kRename, true);
    try {
        SaveRom(rom.string(), kShortRows, {}, ops);
        ADD_FAILURE() << "saved";
    } catch (const FileError& e) {  // ".qmsave-..." comes before "story.smc"
        const std::string temp = (dir.path() / snapshot(dir.path()).begin()->first).string();
        EXPECT_NE(std::string(e.what()).find("removed (" + SystemErrorText(EPERM) +
                                             ") and is left as " + Quoted(temp)),
                  std::string::npos)
            << e.what();
    }
}

TEST(AtomicWrite, AnyLegalNameIsWrittenAndOnlyDeadRunsLeftoversGo) {
    TempDir dir;
    const std::string name = std::string(246, 'n') + ".smc";  // 250 bytes: legal, and long
    const fs::path rom = sampleRom().writeTo(dir.path(), name);
    const auto leave = [&](const std::string& leftover, bool old) {
        testing::writeFile(dir.path() / leftover, Bytes{1});
        const auto written = fs::last_write_time(dir.path() / leftover);
        fs::last_write_time(dir.path() / leftover, written - std::chrono::hours(old ? 1 : 0));
    };
    const std::string live = std::to_string(platform::ProcessId());
    leave(".qmsave-99999999-deadbeef", true);   // no such process: removed
    leave(".qmsave-99999999-0123abcd", false);  // its run may be on another machine
    leave(".qmsave-" + live + "-deadbeef", true);
    leave(".qmsave-99999999-dead", true);
    leave("story.smc.qmsave-99999999-deadbeef", true);
    SaveRom(rom.string(), kShortRows);
    auto left = snapshot(dir.path());
    EXPECT_EQ(left.erase(name) + left.erase(".qmsave-99999999-deadbeef"), 1u);
    EXPECT_EQ(left.size(), 4u);
}

#ifndef _WIN32  // POSIX permissions, owners and symbolic links
TEST(AtomicWrite, ShortWritesThroughALinkKeepPermissionsAndOwner) {
    TempDir dir;
    const fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    fs::permissions(rom, fs::perms(0640));
    const bool root = ::geteuid() == 0;  // only root may give a file away
    ASSERT_TRUE(!root || ::chown(rom.c_str(), 1234, 4321) == 0);
    fs::create_symlink("story.smc", dir.path() / "link.smc");
    const Bytes want = savedImage(readFile(rom), kShortRows);
    FaultyOps ops(Step::kNone);  // 4 MiB in writes of at most 1 MiB
    SaveRom((dir.path() / "link.smc").string(), kShortRows, {}, ops);
    EXPECT_EQ(fs::read_symlink(dir.path() / "link.smc"), "story.smc");
    EXPECT_EQ(readFile(rom), want);
    EXPECT_EQ(testing::modeOf(rom), 0640u);
    EXPECT_EQ(snapshot(dir.path()).size(), 2u);
    struct stat st {};
    ASSERT_EQ(::stat(rom.c_str(), &st), 0);
    EXPECT_TRUE(!root || (st.st_uid == 1234u && st.st_gid == 4321u));
}
#endif

// Another program writes the file once the new one is closed: right before the rename.
struct Interloper : FileOps {
    std::function<void()> write = [] {};
    int close(FileHandle file) override {
        const int result = FileOps::close(file);
        write();
        return result;
    }
};

TEST(AnotherWriter, ASaveWritesNothingOverAFileThatChangedSinceItWasRead) {
    const auto rewrite = [](const fs::path& rom) {  // so soon, the time may not tell
        Bytes image = readFile(rom);
        image[kTextRegionOffset] ^= 1;
        testing::writeFile(rom, image);
    };
    const auto touch = [](const fs::path& rom) {
        fs::last_write_time(rom, fs::last_write_time(rom) - std::chrono::hours(1));
    };
    for (auto change : {+rewrite, +touch}) {
        for (int when = 0; when < 4; ++when) {  // before or after the read, in place or a copy
            testing::TempDir dir;
            const fs::path rom = testing::RomBuilder().addString({0x27}).writeTo(dir.path(), "a");
            LoadedRom loaded = LoadRomFile(rom.string());
            loaded.rows[0].Text = "Yo";
            Bytes left;
            const auto interfere = [&] { change(rom), left = readFile(rom); };
            Interloper ops;
            when < 2 ? interfere() : void(ops.write = interfere);
            const auto save = [&] {  // the message: the tool's test
                when % 2
                    ? (void)SaveRomAsCopy(rom.string(), loaded.rows, {}, ops,
                                          {.expected = loaded.stamp})
                    : (void)SaveRom(rom.string(), loaded.rows, {}, ops, {.expected = loaded.stamp});
            };
            EXPECT_THROW(save(), FileChangedError);
            EXPECT_EQ(testing::snapshot(dir.path()).size(), 1u);  // no copy, no temporary file
            EXPECT_EQ(readFile(rom), left);
        }
    }
}

TEST(AnotherWriter, TheStampOfASaveIsTheFileAsWrittenSoTheNextSaveGoesOn) {
    testing::TempDir dir;
    const fs::path rom = testing::RomBuilder().addString({0x27}).writeTo(dir.path(), "a.smc");
    LoadedRom loaded = LoadRomFile(rom.string());
    loaded.rows[0].Text = "Yo";
    const RomStamp saved = SaveRom(rom.string(), loaded.rows, {}, {.expected = loaded.stamp});
    EXPECT_TRUE(RomFileMatches(rom.string(), saved));
    loaded.rows[0].Text = "Hey";
    const RomStamp again = SaveRom(rom.string(), loaded.rows, {}, {.expected = saved});
    EXPECT_EQ(again, LoadRomFile(rom.string()).stamp);
    const SavedCopy copy = SaveRomAsCopy(rom.string(), loaded.rows);
    EXPECT_EQ(copy.stamp, LoadRomFile(copy.path).stamp);
}

TEST(SaveAsCopy, SavesIntoAFreshCopyOfTheFileOnDiskAndNeverOverIt) {
    for (const auto& [path, copy] : {std::pair{"D:\\roms\\story.smc", "D:\\roms\\story Hack.smc"},
                                     {"a.b.sfc", "a.b Hack.smc"},
                                     {"/my.roms/story", "/my.roms/story Hack.smc"}}) {
        EXPECT_EQ(CopyName(path), copy) << path;
    }
    EXPECT_EQ(FileNameOf("C:/x.y\\story.smc"), "story.smc");
    TempDir dir;
    const auto at = [&](const char* name) { return (dir.path() / name).string(); };
    const fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    const Bytes original = readFile(rom);
    testing::writeFile(at("story Hack.smc"), Bytes{1, 2, 3});
    fs::permissions(rom, fs::perms(0444));
    const std::string made = SaveRomAsCopy(rom.string(), kShortRows).path;
    EXPECT_EQ(made, at("story Hack.smc"));
    EXPECT_EQ(readFile(made), savedImage(original, kShortRows));
    EXPECT_EQ(readFile(rom), original);
    EXPECT_EQ(SaveRomAsCopy(made, kShortRows).path, at("story Hack Hack.smc"));

    auto bad = kShortRows;
    bad[4].Text = "(Pause:x)";
    sampleRom().truncateTo(1000).writeTo(dir.path(), "short.smc");
    fs::copy_file(rom, at("folder.smc"));  // its copy's place is a folder
    fs::create_directory(at("folder Hack.smc"));
    fs::copy_file(rom, at("locked.smc"));  // its copy is read-only
    testing::writeFile(at("locked Hack.smc"), Bytes{1});
    fs::permissions(at("locked Hack.smc"), fs::perms(0444));
    fs::copy_file(rom, at("linked.smc"));  // its copy's name leads back to it
    testing::linkTo("linked.smc", at("linked Hack.smc"));
    const auto before = snapshot(dir.path());
    EXPECT_THROW(SaveRomAsCopy(rom.string(), bad), SaveError);
    EXPECT_THROW(SaveRomAsCopy(at("gone.smc"), kShortRows), SaveError);
    EXPECT_THROW(SaveRomAsCopy(at("short.smc"), kShortRows), SaveError);
    for (const char* name : {"folder.smc", "locked.smc", "linked.smc"}) {
        EXPECT_THROW(SaveRomAsCopy(at(name), kShortRows), FileError) << name;
    }
    EXPECT_EQ(snapshot(dir.path()), before);
}

}  // namespace
}  // namespace qm
