// The atomic write: each step fails in turn, and the original stays intact with
// no temporary file left behind.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "errors.hpp"
#include "save/atomic_file.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "save_test_util.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;
using qm::testing::readFile;
using qm::testing::TempDir;
using namespace qm::savetest;

enum class Step { kNone, kOpen, kWrite, kChmod, kFlush, kClose, kRename };

/// Fails the chosen step (the system's answer with errno set); counts calls.
class FaultyOps : public FileOps {
  public:
    explicit FaultyOps(Step failing, int err = EIO) : failing_(failing), err_(err) {}
    int open(const std::string& path, int flags, mode_t mode) override {
        return fault(Step::kOpen) ? -1 : FileOps::open(path, flags, mode);
    }
    ssize_t write(int fd, const void* data, std::size_t size) override {
        ++writes;
        // Short writes are normal; the writer must go on with the rest.
        return fault(Step::kWrite) ? -1
                                   : FileOps::write(fd, data, std::min<std::size_t>(size, 1 << 20));
    }
    int fsync(int fd) override { return fault(Step::kFlush) ? -1 : FileOps::fsync(fd); }
    int fchmod(int fd, mode_t mode) override {
        return fault(Step::kChmod) ? -1 : FileOps::fchmod(fd, mode);
    }
    int close(int fd) override {
        // A failing close still releases the descriptor, as on Linux.
        if (fault(Step::kClose)) {
            FileOps::close(fd);
            return -1;
        }
        return FileOps::close(fd);
    }
    int rename(const std::string& from, const std::string& to) override {
        return fault(Step::kRename) ? -1 : FileOps::rename(from, to);
    }
    int writes = 0;

  private:
    bool fault(Step s) {
        if (s != failing_) {
            return false;
        }
        errno = err_;
        return true;
    }
    Step failing_;
    int err_;
};

std::string stepName(const ::testing::TestParamInfo<Step>& info) {
    static const char* const kNames[] = {"None",  "Open",  "Write", "Chmod",
                                         "Flush", "Close", "Rename"};
    return kNames[static_cast<int>(info.param)];
}

class AtomicWrite : public ::testing::TestWithParam<Step> {};

TEST_P(AtomicWrite, AFailingStepLeavesTheOriginalIntactAndNoTempFile) {
    TempDir dir;
    fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    fs::permissions(rom, fs::perms(0640));
    Bytes original = readFile(rom);
    FaultyOps ops(GetParam());
    try {
        SaveRom(rom.string(), shortRows(), {}, ops);
        FAIL() << "the save did not fail";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("story.smc"), std::string::npos) << e.what();
    }
    EXPECT_EQ(readFile(rom), original);
    EXPECT_EQ(modeOf(rom), 0640u);
    EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"story.smc"});
}

INSTANTIATE_TEST_SUITE_P(EachStep, AtomicWrite,
                         ::testing::Values(Step::kOpen, Step::kWrite, Step::kChmod, Step::kFlush,
                                           Step::kClose, Step::kRename),
                         stepName);

TEST(AtomicWriteOk, ShortWritesAreCompleted) {
    TempDir dir;
    fs::path path = dir.path() / "big.bin";
    Bytes bytes(3 * (1 << 20) + 5, 0x5A);
    FaultyOps ops(Step::kNone);
    WriteFileAtomically(path.string(), bytes, ops);
    EXPECT_EQ(readFile(path), bytes);
    EXPECT_GE(ops.writes, 4);
    EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"big.bin"});
}

TEST(AtomicWriteOk, NewFileGetsTheGivenPermissions) {
    TempDir dir;
    fs::path path = dir.path() / "new.bin";
    WriteFileAtomically(path.string(), Bytes{1, 2, 3}, SystemFileOps(), 0604);
    EXPECT_EQ(readFile(path), (Bytes{1, 2, 3}));
    EXPECT_EQ(modeOf(path), 0604u);
}

TEST(AtomicWriteOk, KeepsOwnerAndGroupWherePermitted) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file to another owner";
    }
    TempDir dir;
    fs::path path = dir.path() / "owned.bin";
    qm::testing::writeFile(path, Bytes{1});
    ASSERT_EQ(::chown(path.c_str(), 1234, 4321), 0);
    WriteFileAtomically(path.string(), Bytes{2});
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 1234u);
    EXPECT_EQ(st.st_gid, 4321u);
}

TEST(AtomicWriteOk, ReplacesTheTargetOfALink) {
    TempDir dir;
    fs::create_directory(dir.path() / "roms");
    qm::testing::writeFile(dir.path() / "roms" / "real.smc", Bytes{9});
    fs::create_symlink("roms/real.smc", dir.path() / "link.smc");
    WriteFileAtomically((dir.path() / "link.smc").string(), Bytes{7, 7});
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.path() / "link.smc")));
    EXPECT_EQ(readFile(dir.path() / "roms" / "real.smc"), (Bytes{7, 7}));
    EXPECT_EQ(listing(dir.path() / "roms"), std::vector<std::string>{"real.smc"});
}

TEST(AtomicWriteOk, AFolderIsNotReplaced) {
    TempDir dir;
    fs::create_directory(dir.path() / "d");
    EXPECT_THROW(WriteFileAtomically((dir.path() / "d").string(), Bytes{1}), FileError);
    EXPECT_TRUE(fs::is_directory(dir.path() / "d"));
}

TEST(AtomicWriteOk, ReadWholeFileOfAMissingFileThrows) {
    TempDir dir;
    EXPECT_THROW(ReadWholeFile((dir.path() / "none").string()), FileError);
}

class AtomicCopy : public ::testing::TestWithParam<Step> {};

TEST_P(AtomicCopy, AFailingStepLeavesAnExistingCopyIntact) {
    TempDir dir;
    fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    fs::path copy = dir.path() / "story Hack.smc";
    qm::testing::writeFile(copy, Bytes{1, 2, 3});
    FaultyOps ops(GetParam());
    EXPECT_THROW(CopyRomFile(rom.string(), copy.string(), ops), FileError);
    EXPECT_EQ(readFile(copy), (Bytes{1, 2, 3}));
    EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"story Hack.smc", "story.smc"}));
}

TEST_P(AtomicCopy, AFailingStepLeavesNoNewCopy) {
    TempDir dir;
    fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    Bytes original = readFile(rom);
    FaultyOps ops(GetParam());
    bool copied = false;
    EXPECT_THROW(
        SaveRomAsCopy(
            rom.string(), shortRows(), {}, [&](const std::string&) { copied = true; }, ops),
        FileError);
    EXPECT_FALSE(copied);
    EXPECT_EQ(readFile(rom), original);
    EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"story.smc"});
}

INSTANTIATE_TEST_SUITE_P(EachStep, AtomicCopy,
                         ::testing::Values(Step::kOpen, Step::kWrite, Step::kFlush, Step::kRename),
                         stepName);

}  // namespace
}  // namespace qm
