#pragma once
// Replacing a file's contents atomically: the new bytes go into a temporary file
// in the same folder, are flushed to disk, and the temporary file is renamed over
// the original. Either the whole new contents are in place or the original is
// byte-for-byte as it was; the temporary file never outlives the call.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "rom/layout.hpp"

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

/// Reads the whole regular file at path. Throws FileError.
Bytes ReadWholeFile(const std::string& path);

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
