// What every platform shares of files.hpp: the steps of the atomic write, the
// temporary names and the clean-up after dead runs. The system calls are in
// files_posix.cpp and files_windows.cpp.
#include <charconv>
#include <chrono>
#include <optional>
#include <random>

#include "errors.hpp"
#include "files.hpp"
#include "files_platform.hpp"
#include "text.hpp"

namespace qm {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTempPrefix = ".qmsave-";
constexpr std::size_t kRandomLength = 8;
// A dead run's file goes only once it has rested this long: a run on another
// machine or in another container that shares the folder has a process id we
// cannot see, and its file is fresh while it writes.
constexpr auto kStaleAfter = std::chrono::minutes(10);

using platform::Fail;

void check(int error, const std::string& what, const std::string& path) {
    if (error != 0) {
        Fail(what, path, error);
    }
}

std::string randomSuffix() {
    static std::mt19937_64 gen{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string s(kRandomLength, '0');
    for (auto& c : s) {
        c = kDigits[gen() % 36];
    }
    return s;
}

/// The folder part of path with its last separator; "" for the current folder.
std::string folderOf(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (platform::IsSeparator(path[i - 1])) {
            return path.substr(0, i);
        }
    }
    return "";
}

/// The process that made one of our temporary files, from its name; nothing for
/// any other name.
std::optional<std::uint32_t> tempFileProcess(std::string_view name) {
    if (!name.starts_with(kTempPrefix)) {
        return std::nullopt;
    }
    name.remove_prefix(kTempPrefix.size());
    const std::size_t dash = name.find('-');
    std::uint32_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + dash, pid);
    if (dash == std::string_view::npos || dash == 0 || error != std::errc() ||
        end != name.data() + dash || name.size() - dash - 1 != kRandomLength) {
        return std::nullopt;
    }
    for (const char c : name.substr(dash + 1)) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))) {
            return std::nullopt;
        }
    }
    return pid;
}

/// Removes the temporary files that runs which have ended left in folder.
void removeLitter(const std::string& folder) noexcept {
    try {
        std::error_code ec;
        const auto now = fs::file_time_type::clock::now();
        const fs::path native = platform::NativePath(folder.empty() ? "." : folder);
        for (const auto& entry : fs::directory_iterator(native, ec)) {
            const std::optional<std::uint32_t> pid =
                tempFileProcess(platform::Utf8Path(entry.path().filename()));
            if (!pid || *pid == platform::ProcessId() ||
                entry.symlink_status(ec).type() != fs::file_type::regular ||
                !platform::ProcessGone(*pid) || !platform::OwnedByUs(platform::Utf8Path(entry))) {
                continue;
            }
            const auto changed = fs::last_write_time(entry.path(), ec);
            if (!ec && now - changed >= kStaleAfter) {
                fs::remove(entry.path(), ec);
            }
        }
    } catch (...) {
        // Tidying up is a courtesy: the write has succeeded, and nothing here
        // (not even a lack of memory) may turn that into a reported failure.
    }
}

FileHandle createTemp(FileOps& ops, const std::string& folder, std::uint32_t permissions,
                      const std::string& target, std::string& tempPath) {
    int error = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + std::string(kTempPrefix) + std::to_string(platform::ProcessId()) + "-" +
                   randomSuffix();
        FileHandle file = -1;
        error = ops.create(tempPath, permissions, file);
        if (error == 0) {
            return file;
        }
        std::error_code ec;
        if (!fs::exists(platform::NativePath(folder.empty() ? "." : folder), ec)) {
            // The user named a folder that is not there.
            const fs::path named = fs::path(target).parent_path();
            throw FileError("The folder " + Escaped(named.empty() ? "." : named.string()) +
                            " does not exist.");
        }
        if (!fs::exists(platform::NativePath(tempPath), ec)) {
            break;  // not a name taken by chance: the folder refuses
        }
    }
    Fail("create a temporary file beside", target, error);
}

void writeAll(FileOps& ops, FileHandle file, std::span<const std::uint8_t> bytes,
              const std::string& target) {
    while (!bytes.empty()) {
        std::size_t written = 0;
        check(ops.write(file, bytes.data(), bytes.size(), written), "write the new contents of",
              target);
        if (written == 0) {
            throw FileError("Cannot write the new contents of " + Quoted(target) +
                            ": the system took none of them.");
        }
        bytes = bytes.subspan(written);
    }
}

// Removes the temporary file of a write that failed; when the system refuses
// (an append-only folder forbids it), the words that say where it is left.
std::string discard(FileOps& ops, const std::string& tempPath) {
    const int error = ops.remove(tempPath);
    if (error == 0) {
        return "";
    }
    std::error_code ec;
    const fs::path absolute = fs::absolute(platform::NativePath(tempPath), ec);
    return " Its temporary file could not be removed (" + SystemErrorText(error) +
           ") and is left as " + Quoted(ec ? tempPath : platform::Utf8Path(absolute)) + ".";
}

// Rethrows the exception being handled once the temporary file is removed; a
// FileError (of the same type) that could not remove it says where it is left.
[[noreturn]] void abandon(FileOps& ops, const std::string& tempPath) {
    const std::string left = discard(ops, tempPath);
    if (left.empty()) {
        throw;
    }
    try {
        throw;
    } catch (const FileChangedError& e) {
        throw FileChangedError(e.what() + left);
    } catch (const FileError& e) {
        throw FileError(e.what() + left);
    }
}

}  // namespace

void platform::Fail(const std::string& what, const std::string& path, int error) {
    throw FileError("Cannot " + what + " " + Quoted(path) + ": " + SystemErrorText(error) + ".");
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

std::vector<std::string> FileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator entry(platform::NativePath(folder), ec), end; !ec && entry != end;
         entry.increment(ec)) {
        if (entry->is_regular_file(ec)) {
            names.push_back(platform::Utf8Path(entry->path().filename()));
        }
    }
    return names;
}

Bytes ReadWholeFile(const std::string& path) {
    return RegularFile(path).readAll();
}

void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, FileOps& ops,
                         std::uint32_t permissions, const BeforeReplace& beforeReplace) {
    const ResolvedFile target = ResolveFile(path);
    if (target.exists && !target.isRegular) {
        throw FileError("Cannot write " + Quoted(path) + ": it is not a regular file.");
    }
    if (target.exists && target.readOnly) {
        throw FileError("Cannot write " + Quoted(path) + ": it is read-only.");
    }
    const std::string folder = folderOf(target.path);
    std::string tempPath;
    // An existing target's permissions come once the new contents are in; until
    // then only the owner may read them.
    const FileHandle file =
        createTemp(ops, folder, target.exists ? 0600 : permissions, target.path, tempPath);
    try {
        writeAll(ops, file, bytes, target.path);
        if (target.exists) {
            platform::KeepOwner(file, target.path);
            check(ops.setPermissions(file, target.permissions), "set the permissions of the new",
                  target.path);
        }
        check(ops.flush(file), "flush the new contents of", target.path);
    } catch (...) {  // a FileError, or no memory left for one
        ops.close(file);
        abandon(ops, tempPath);
    }
    try {
        check(ops.close(file), "finish writing", target.path);  // closed even when it fails
        if (beforeReplace) {
            beforeReplace(tempPath);
        }
        check(ops.replace(tempPath, target.path), "replace", target.path);
    } catch (...) {
        abandon(ops, tempPath);
    }
    platform::SyncFolder(folder);
    removeLitter(folder);
}

}  // namespace qm
