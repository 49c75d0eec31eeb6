#pragma once
// Every file the core reads or writes goes through here. Reading: regular files
// only (a FIFO or a device would block or never end), bounds-checked, with the
// system's reason in every message. Writing: atomically, so either the whole new
// contents are in place or the original is byte-for-byte as it was. Paths are
// UTF-8 on every system. The system calls live in one file per platform; nothing
// above this header includes a system header.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "types.hpp"

namespace qm {

/// A file the atomic write holds open: a descriptor, or a handle on Windows.
using FileHandle = std::intptr_t;

/// The system calls an atomic write makes, behind a seam so that tests can make
/// any one of them fail. Each returns 0 when it worked and otherwise the system's
/// error code (errno; GetLastError() on Windows). The default calls the system.
class FileOps {
  public:
    virtual ~FileOps() = default;
    /// Creates path, which must not exist yet, for writing, with permissions as
    /// the system gives a new file (the user's umask applies).
    virtual int create(const std::string& path, std::uint32_t permissions, FileHandle& file);
    /// Writes at most size bytes; written says how many.
    virtual int write(FileHandle file, const void* data, std::size_t size, std::size_t& written);
    /// Sets the permissions (POSIX) or attributes (Windows) the file keeps.
    virtual int setPermissions(FileHandle file, std::uint32_t permissions);
    /// Flushes the file's contents to the disk.
    virtual int flush(FileHandle file);
    /// Closes the file; it is closed even when this fails.
    virtual int close(FileHandle file);
    /// Renames from to to, replacing to in one step.
    virtual int replace(const std::string& from, const std::string& to);
    virtual int remove(const std::string& path);
};

/// The process-wide system implementation.
FileOps& SystemFileOps();

/// The system's description of an error code that FileOps returned.
std::string SystemErrorText(int code);

/// What a file path finally names once symbolic links are followed.
struct ResolvedFile {
    std::string path;  ///< the target's path (the path itself when it is no link)
    bool exists = false;
    bool isRegular = false;
    bool isFolder = false;
    /// Nobody may write it (no write permission at all, the read-only
    /// attribute), or this process may not.
    bool readOnly = false;
    std::uintmax_t size = 0;
    /// When the file was last written (see RegularFile::modified()).
    std::int64_t modified = 0;
    /// What a replacement keeps: the permission bits (07777) on POSIX, the
    /// attributes on Windows.
    std::uint32_t permissions = 0;
};

/// Follows symbolic links (a dangling link resolves to its missing target). Never
/// throws for a missing file; throws FileError when the path cannot be examined.
ResolvedFile ResolveFile(const std::string& path);

/// Permissions for a new file made from source that its owner may write: the
/// source's own plus the owner's write permission (without the read-only attribute).
std::uint32_t WritableLike(const ResolvedFile& source);

/// A regular file open for reading; closed when the object goes.
class RegularFile {
  public:
    /// Opens path without blocking (a FIFO never holds the caller) and checks that
    /// it is a regular file (not a folder, FIFO or device such as NUL). Throws
    /// FileError with the system's reason otherwise.
    explicit RegularFile(const std::string& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    const std::string& path() const { return path_; }
    std::uintmax_t size() const { return size_; }
    /// When the file was last written, as it was when it was opened: a count that
    /// is only compared (nanoseconds on POSIX, 100-nanosecond steps on Windows).
    std::int64_t modified() const { return modified_; }
    /// Fills dest from offset on; the range must lie inside the file. Throws
    /// FileError when the read fails or comes up short.
    void readAt(std::uintmax_t offset, std::span<std::uint8_t> dest) const;
    /// The whole file. Throws FileError when it is larger than limit bytes.
    Bytes readAll(std::uintmax_t limit = std::numeric_limits<std::uintmax_t>::max()) const;

  private:
    std::string path_;
    FileHandle file_ = -1;
    std::uintmax_t size_ = 0;
    std::int64_t modified_ = 0;
};

/// Reads the whole regular file at path. Throws FileError.
Bytes ReadWholeFile(const std::string& path);

/// Reads standard input to its end; throws FileError when it fails or holds more
/// than limit bytes.
Bytes ReadStandardInput(std::uintmax_t limit);

/// Writes all of data to standard output, byte for byte. Throws FileError.
void WriteStandardOutput(std::string_view data);

/// The names (UTF-8) of the regular files in folder, links followed, in no
/// particular order; none when it cannot be read. Never throws but for memory.
std::vector<std::string> FileNamesIn(const std::string& folder);

/// Whether both paths name the same existing file, through links and hard links.
bool SameFile(const std::string& a, const std::string& b);

/// Whether standard output writes into the existing file at path (as after
/// «>>path» or «1<>path»).
bool IsStandardOutput(const std::string& path);

/// Sets the process up for a front end, which calls it first: a write past the
/// file-size limit fails as an error instead of ending the process (POSIX), and
/// the console shows the UTF-8 messages as such (Windows).
void PrepareProcess();

/// The command line's arguments in UTF-8: argv itself on POSIX; on Windows, where
/// argv is in the ANSI code page, the wide command line converted.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

/// What WriteFileAtomically runs with the temporary file's path once the new
/// contents are in it, flushed and closed, right before it replaces the target.
/// Whatever it throws stops the write: the target stays untouched.
using BeforeReplace = std::function<void(const std::string& tempPath)>;

/// Replaces the contents of the file at path (following symbolic links) with
/// bytes: a temporary file «.qmsave-PID-XXXXXXXX» in the target's folder (short,
/// whatever the target's name), write, the target's permissions (or for a new
/// file, permissions as the umask leaves them) and where the process may set
/// them its owner and group, flush, rename over the target, then a best-effort
/// flush of the folder and the removal of temporary files that dead runs left
/// there (our pattern, a process that is gone, untouched for ten minutes).
/// beforeReplace, when given, runs right before the rename.
/// Throws FileError naming the step that failed, and when the target is not a
/// regular file or is read-only, or what beforeReplace throws; the target is then
/// untouched and the temporary file removed. When the system refuses to remove it
/// (an append-only folder), a FileError's message (of the same type) ends by
/// saying where it is left.
void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         FileOps& ops = SystemFileOps(), std::uint32_t permissions = 0666,
                         const BeforeReplace& beforeReplace = {});

}  // namespace qm
