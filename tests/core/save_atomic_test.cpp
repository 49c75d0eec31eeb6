// The atomic write: each step fails in turn, and the original stays intact with
// no temporary file left behind.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <filesystem>

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
        int r = FileOps::close(fd);  // a failing close still releases the descriptor
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

class AtomicWrite : public ::testing::TestWithParam<Step> {};

TEST_P(AtomicWrite, AFailingStepChangesNoFile) {
    TempDir dir;
    fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    fs::permissions(rom, fs::perms(0640));
    FaultyOps ops(GetParam());
    bool copied = false;
    auto note = [&](const std::string&) { copied = true; };
    Snapshot before = snapshot(dir.path());
    try {
        SaveRom(rom.string(), shortRows(), {}, ops);
        ADD_FAILURE() << "the save did not fail";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("story.smc"), std::string::npos) << e.what();
    }
    EXPECT_EQ(snapshot(dir.path()), before);
    // Save As Copy: neither a new copy nor a replaced one is left changed.
    EXPECT_THROW(SaveRomAsCopy(rom.string(), shortRows(), {}, note, ops), FileError);
    EXPECT_EQ(snapshot(dir.path()), before);
    qm::testing::writeFile(dir.path() / "story Hack.smc", Bytes{1, 2, 3});
    before = snapshot(dir.path());
    EXPECT_THROW(SaveRomAsCopy(rom.string(), shortRows(), {}, note, ops), FileError);
    EXPECT_EQ(snapshot(dir.path()), before);
    EXPECT_FALSE(copied);
}

std::string stepName(const ::testing::TestParamInfo<Step>& info) {
    const char* names[] = {"None", "Open", "Write", "Chmod", "Flush", "Close", "Rename"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EachStep, AtomicWrite,
                         ::testing::Values(Step::kOpen, Step::kWrite, Step::kChmod, Step::kFlush,
                                           Step::kClose, Step::kRename),
                         stepName);

TEST(AtomicWriteOk, ShortWritesThroughALinkKeepPermissions) {
    TempDir dir;
    fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    fs::permissions(rom, fs::perms(0640));
    fs::create_symlink("story.smc", dir.path() / "link.smc");
    Bytes want = readFile(rom);
    ApplyLaidOutText(want, LayOutRows(shortRows()));
    FaultyOps ops(Step::kNone);  // 4 MiB in writes of at most 1 MiB
    SaveRom((dir.path() / "link.smc").string(), shortRows(), {}, ops);
    EXPECT_EQ(fs::read_symlink(dir.path() / "link.smc"), "story.smc");
    EXPECT_EQ(readFile(rom), want);
    EXPECT_EQ(modeOf(rom), 0640u);
    EXPECT_EQ(snapshot(dir.path()).size(), 2u);
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

}  // namespace
}  // namespace qm
