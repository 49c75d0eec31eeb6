// files.hpp on Linux, macOS and the other POSIX systems.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "errors.hpp"
#include "files.hpp"
#include "files_platform.hpp"
#include "text.hpp"

namespace qm {

namespace fs = std::filesystem;

namespace {

using platform::Fail;

int descriptor(FileHandle file) {
    return static_cast<int>(file);
}

/// Follows one link after another, at most 40 deep as the kernel does.
fs::path followLinks(fs::path p) {
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code ec;
        auto status = fs::symlink_status(p, ec);
        if (ec || !fs::is_symlink(status)) {
            return p;
        }
        fs::path target = fs::read_symlink(p, ec);
        if (ec) {
            Fail("follow the link", p.string(), ec.value());
        }
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    Fail("follow the link", p.string(), ELOOP);
}

std::int64_t modifiedOf(const struct stat& st) {
#ifdef __APPLE__
    const struct timespec& t = st.st_mtimespec;
#else
    const struct timespec& t = st.st_mtim;
#endif
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

int FileOps::create(const std::string& path, std::uint32_t permissions, FileHandle& file) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          static_cast<mode_t>(permissions));
    file = fd;
    return fd < 0 ? errno : 0;
}

int FileOps::write(FileHandle file, const void* data, std::size_t size, std::size_t& written) {
    for (;;) {
        const ssize_t n = ::write(descriptor(file), data, size);
        if (n >= 0) {
            written = static_cast<std::size_t>(n);
            return n == 0 && size > 0 ? ENOSPC : 0;
        }
        if (errno != EINTR) {
            return errno;
        }
    }
}

int FileOps::setPermissions(FileHandle file, std::uint32_t permissions) {
    return ::fchmod(descriptor(file), static_cast<mode_t>(permissions)) != 0 ? errno : 0;
}

int FileOps::flush(FileHandle file) {
    return ::fsync(descriptor(file)) != 0 ? errno : 0;
}

int FileOps::close(FileHandle file) {
    return ::close(descriptor(file)) != 0 ? errno : 0;
}

int FileOps::replace(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) != 0 ? errno : 0;
}

int FileOps::remove(const std::string& path) {
    return ::unlink(path.c_str()) != 0 ? errno : 0;
}

FileOps& SystemFileOps() {
    static FileOps ops;
    return ops;
}

std::string SystemErrorText(int code) {
    return std::strerror(code);
}

ResolvedFile ResolveFile(const std::string& path) {
    ResolvedFile out;
    out.path = followLinks(fs::path(path)).string();
    struct stat st {};
    if (::stat(out.path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return out;
        }
        Fail("examine", path, errno);
    }
    out.exists = true;
    out.isRegular = S_ISREG(st.st_mode);
    out.isFolder = S_ISDIR(st.st_mode);
    out.size = static_cast<std::uintmax_t>(st.st_size);
    out.modified = modifiedOf(st);
    out.permissions = st.st_mode & 07777;
    // Root may write anywhere; a file without any write permission is still
    // one the user marked read-only.
    out.readOnly = (st.st_mode & 0222) == 0 || ::access(out.path.c_str(), W_OK) != 0;
    return out;
}

std::uint32_t WritableLike(const ResolvedFile& source) {
    return source.permissions | 0200;
}

RegularFile::RegularFile(const std::string& path) : path_(path) {
    if (path.empty()) {
        throw FileError("No file was chosen.");
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        Fail("open", path, errno);
    }
    file_ = fd;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        Fail("examine", path, err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw FileError("Cannot read " + Quoted(path) + ": " +
                        (S_ISDIR(st.st_mode) ? "it is a folder." : "it is not a regular file."));
    }
    size_ = static_cast<std::uintmax_t>(st.st_size);
    modified_ = modifiedOf(st);
}

RegularFile::~RegularFile() {
    ::close(descriptor(file_));
}

void RegularFile::readAt(std::uintmax_t offset, std::span<std::uint8_t> dest) const {
    std::size_t done = 0;
    while (done < dest.size()) {
        const ssize_t n = ::pread(descriptor(file_), dest.data() + done, dest.size() - done,
                                  static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            Fail("read", path_, n < 0 ? errno : EIO);
        }
        done += static_cast<std::size_t>(n);
    }
}

Bytes ReadStandardInput(std::uintmax_t limit) {
    Bytes bytes;
    std::uint8_t buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw FileError(std::string("Cannot read standard input: ") + std::strerror(errno) +
                            ".");
        }
        if (n == 0) {
            return bytes;
        }
        if (bytes.size() + static_cast<std::size_t>(n) > limit) {
            throw FileError("Cannot read standard input: it holds more than the " +
                            BytesText(limit) + " allowed.");
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
}

void WriteStandardOutput(std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(STDOUT_FILENO, data.data(), data.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            throw FileError(std::string("Cannot write to standard output: ") +
                            std::strerror(n < 0 ? errno : EIO) + ".");
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sameFile(sa, sb);
}

bool IsStandardOutput(const std::string& path) {
    struct stat out {};
    struct stat file {};
    return ::fstat(STDOUT_FILENO, &out) == 0 && ::stat(path.c_str(), &file) == 0 &&
           sameFile(out, file);
}

void PrepareProcess() {
    // Past a file-size limit (ulimit -f) a write then fails with EFBIG, which the
    // atomic write reports and cleans up after, instead of the process dying.
    ::signal(SIGXFSZ, SIG_IGN);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

namespace platform {

fs::path NativePath(const std::string& utf8) {
    return fs::path(utf8);
}

std::string Utf8Path(const fs::path& path) {
    return path.string();
}

bool IsSeparator(char c) {
    return c == '/';
}

std::uint32_t ProcessId() {
    return static_cast<std::uint32_t>(::getpid());
}

bool ProcessGone(std::uint32_t pid) {
    // 0 and values beyond pid_t would name process groups, never one process.
    if (pid == 0 || pid > static_cast<std::uint32_t>(INT_MAX)) {
        return false;
    }
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

bool OwnedByUs(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && st.st_uid == ::geteuid();
}

void KeepOwner(FileHandle file, const std::string& target) {
    struct stat want {};
    struct stat have {};
    const int fd = descriptor(file);
    if (::stat(target.c_str(), &want) != 0 || ::fstat(fd, &have) != 0 ||
        (have.st_uid == want.st_uid && have.st_gid == want.st_gid)) {
        return;
    }
    if (::fchown(fd, want.st_uid, want.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), want.st_gid) != 0) {
        return;  // neither is ours to give: the new file stays the process's own
    }
}

void SyncFolder(const std::string& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

}  // namespace platform

}  // namespace qm
