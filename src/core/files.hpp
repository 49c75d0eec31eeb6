#pragma once
// Every file the core reads or writes goes through here. Reading: regular files
// only (a FIFO or a device would block or never end), bounds-checked, with the
// system's reason in every message. Writing: atomically, so either the whole new
// contents are in place or the original is byte-for-byte as it was.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>

#include "types.hpp"

namespace qm {

/// The few POSIX file calls an atomic write makes, behind a seam so that tests can
/// make any one of them fail. Each returns what the POSIX call returns (-1 and
/// errno on failure). The default implementation calls the system.
class FileOps {
  public:
    virtual ~FileOps() = default;
    virtual int open(const std::string& path, int flags, mode_t mode);
    virtual ssize_t write(int fd, const void* data, std::size_t size);
    virtual int fsync(int fd);
    virtual int fchmod(int fd, mode_t mode);
    virtual int close(int fd);
    virtual int rename(const std::string& from, const std::string& to);
    virtual int unlink(const std::string& path);
};

/// The process-wide system implementation.
FileOps& SystemFileOps();

/// What a file path finally names once symbolic links are followed.
struct ResolvedFile {
    std::string path;  ///< the target's path (the path itself when it is no link)
    bool exists = false;
    bool isRegular = false;
    bool isFolder = false;
    std::uintmax_t size = 0;
    mode_t permissions = 0;  ///< permission bits (07777) when it exists
    uid_t owner = 0;
    gid_t group = 0;
};

/// Follows symbolic links (a dangling link resolves to its missing target). Never
/// throws for a missing file; throws FileError when the path cannot be examined.
ResolvedFile ResolveFile(const std::string& path);

/// A regular file open for reading; closed when the object goes.
class RegularFile {
  public:
    /// Opens path without blocking (a FIFO never holds the caller) and checks that
    /// it is a regular file. Throws FileError with the system's reason otherwise.
    explicit RegularFile(const std::string& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    const std::string& path() const { return path_; }
    std::uintmax_t size() const { return size_; }
    /// Fills dest from offset on; the range must lie inside the file. Throws
    /// FileError when the read fails or comes up short.
    void readAt(std::uintmax_t offset, std::span<std::uint8_t> dest) const;
    /// The whole file. Throws FileError when it is larger than limit bytes.
    Bytes readAll(std::uintmax_t limit = std::numeric_limits<std::uintmax_t>::max()) const;

  private:
    std::string path_;
    int fd_ = -1;
    std::uintmax_t size_ = 0;
};

/// Reads the whole regular file at path. Throws FileError.
Bytes ReadWholeFile(const std::string& path);

/// Reads a stream (standard input, say) to its end; throws FileError, naming what,
/// when it fails or holds more than limit bytes.
Bytes ReadStream(int fd, const std::string& what, std::uintmax_t limit);

/// Whether both paths name the same existing file, through links and hard links.
bool SameFile(const std::string& a, const std::string& b);

/// Replaces the contents of the file at path (following symbolic links) with
/// bytes: temporary file «<name>.qmsave-XXXXXX» beside the target, write, fsync,
/// the target's permissions (or permissions when the target does not exist yet)
/// and, where the process may set them, its owner and group,
/// rename over the target, then a best-effort fsync of the folder. Throws
/// FileError naming the step that failed; the target is then untouched and the
/// temporary file removed.
void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         FileOps& ops = SystemFileOps(), mode_t permissions = 0644);

}  // namespace qm
