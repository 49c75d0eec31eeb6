#include "files.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "errors.hpp"
#include "text.hpp"

namespace qm {

namespace fs = std::filesystem;

int FileOps::open(const std::string& path, int flags, mode_t mode) {
    return ::open(path.c_str(), flags, mode);
}
ssize_t FileOps::write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}
int FileOps::fsync(int fd) {
    return ::fsync(fd);
}
int FileOps::fchmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}
int FileOps::close(int fd) {
    return ::close(fd);
}
int FileOps::rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str());
}
int FileOps::unlink(const std::string& path) {
    return ::unlink(path.c_str());
}

FileOps& SystemFileOps() {
    static FileOps ops;
    return ops;
}

namespace {

[[noreturn]] void fail(const std::string& what, const std::string& path, int err) {
    throw FileError("Cannot " + what + " " + Quoted(path) + ": " + std::strerror(err) + ".");
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
            fail("follow the link", p.string(), ec.value());
        }
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    fail("follow the link", p.string(), ELOOP);
}

std::string randomSuffix() {
    static std::mt19937_64 gen{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string s(8, '0');
    for (auto& c : s) {
        c = kDigits[gen() % 36];
    }
    return s;
}

/// Creates the temporary file beside target; returns its descriptor.
int createTemp(FileOps& ops, const std::string& target, std::string& tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target + ".qmsave-" + randomSuffix();
        int fd = ops.open(tempPath, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            return fd;
        }
        if (errno == ENOENT) {  // the user named a folder that is not there
            const fs::path folder = fs::path(target).parent_path();
            throw FileError("The folder " + (folder.empty() ? "." : folder.string()) +
                            " does not exist.");
        }
        if (errno != EEXIST) {
            fail("create a temporary file beside", target, errno);
        }
    }
    fail("create a temporary file beside", target, EEXIST);
}

void writeAll(FileOps& ops, int fd, std::span<const std::uint8_t> bytes,
              const std::string& target) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ops.write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            fail("write the new contents of", target, n < 0 ? errno : ENOSPC);
        }
        done += static_cast<std::size_t>(n);
    }
}

/// Gives the new file the target's owner and group where the process may (as
/// root, or the group for a member); an ordinary user's own files need nothing,
/// so a refusal here is expected and not an error.
void keepOwner(int fd, const ResolvedFile& target) {
    struct stat st {};
    if (!target.exists || ::fstat(fd, &st) != 0 ||
        (st.st_uid == target.owner && st.st_gid == target.group)) {
        return;
    }
    if (::fchown(fd, target.owner, target.group) != 0) {
        (void)::fchown(fd, static_cast<uid_t>(-1), target.group);
    }
}

/// Makes the rename durable; the new contents are already in place, so a failure
/// here changes nothing the user could act on and is not reported.
void syncFolder(const std::string& target) {
    auto folder = fs::path(target).parent_path();
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

ResolvedFile ResolveFile(const std::string& path) {
    ResolvedFile out;
    out.path = followLinks(fs::path(path)).string();
    struct stat st {};
    if (::stat(out.path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return out;
        }
        fail("examine", path, errno);
    }
    out.exists = true;
    out.isRegular = S_ISREG(st.st_mode);
    out.isFolder = S_ISDIR(st.st_mode);
    out.size = static_cast<std::uintmax_t>(st.st_size);
    out.permissions = st.st_mode & 07777;
    out.owner = st.st_uid;
    out.group = st.st_gid;
    return out;
}

RegularFile::RegularFile(const std::string& path) : path_(path) {
    if (path.empty()) {
        throw FileError("No file was chosen.");
    }
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        fail("open", path, errno);
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        const int err = errno;
        ::close(fd_);
        fail("examine", path, err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd_);
        throw FileError("Cannot read " + Quoted(path) + ": " +
                        (S_ISDIR(st.st_mode) ? "it is a folder." : "it is not a regular file."));
    }
    size_ = static_cast<std::uintmax_t>(st.st_size);
}

RegularFile::~RegularFile() {
    ::close(fd_);
}

void RegularFile::readAt(std::uintmax_t offset, std::span<std::uint8_t> dest) const {
    std::size_t done = 0;
    while (done < dest.size()) {
        const ssize_t n =
            ::pread(fd_, dest.data() + done, dest.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            fail("read", path_, n < 0 ? errno : EIO);
        }
        done += static_cast<std::size_t>(n);
    }
}

Bytes RegularFile::readAll(std::uintmax_t limit) const {
    if (size_ > limit) {
        throw FileError("Cannot read " + Quoted(path_) + ": it holds " + BytesText(size_) +
                        ", more than the " + BytesText(limit) + " allowed.");
    }
    Bytes bytes(static_cast<std::size_t>(size_));
    readAt(0, bytes);
    return bytes;
}

Bytes ReadWholeFile(const std::string& path) {
    return RegularFile(path).readAll();
}

Bytes ReadStream(int fd, const std::string& what, std::uintmax_t limit) {
    Bytes bytes;
    std::uint8_t buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            fail("read", what, errno);
        }
        if (n == 0) {
            return bytes;
        }
        if (bytes.size() + static_cast<std::size_t>(n) > limit) {
            throw FileError("Cannot read " + what + ": it holds more than the " + BytesText(limit) +
                            " allowed.");
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, FileOps& ops,
                         mode_t permissions) {
    ResolvedFile target = ResolveFile(path);
    if (target.exists && !target.isRegular) {
        throw FileError("Cannot write " + Quoted(path) + ": it is not a regular file.");
    }
    mode_t mode = target.exists ? target.permissions : permissions;

    std::string tempPath;
    int fd = createTemp(ops, target.path, tempPath);
    auto discard = [&](bool closeFd) {
        if (closeFd) {
            ops.close(fd);
        }
        ops.unlink(tempPath);
    };
    try {
        writeAll(ops, fd, bytes, target.path);
        keepOwner(fd, target);
        if (ops.fchmod(fd, mode) != 0) {
            fail("set the permissions of the new", target.path, errno);
        }
        if (ops.fsync(fd) != 0) {
            fail("flush the new contents of", target.path, errno);
        }
    } catch (const FileError&) {
        discard(true);
        throw;
    }
    if (ops.close(fd) != 0) {
        int err = errno;
        discard(false);
        fail("finish writing", target.path, err);
    }
    if (ops.rename(tempPath, target.path) != 0) {
        int err = errno;
        discard(false);
        fail("replace", target.path, err);
    }
    syncFolder(target.path);
}

}  // namespace qm
