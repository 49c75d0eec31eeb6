#pragma once
// What files.cpp needs from the system beyond FileOps: one implementation per
// platform (files_posix.cpp, files_windows.cpp). Only the files*.cpp include this.

#include <cstdint>
#include <filesystem>
#include <string>

#include "files.hpp"

namespace qm::platform {

/// The path the standard library should use for a UTF-8 path, and back.
std::filesystem::path NativePath(const std::string& utf8);
std::string Utf8Path(const std::filesystem::path& path);

/// Whether name separates folders in a path ("/", and on Windows "\" too).
bool IsSeparator(char c);

std::uint32_t ProcessId();
/// Whether no process with this id runs on this system.
bool ProcessGone(std::uint32_t pid);
/// Whether path is a file this process's user owns (always true where files
/// have no owner the process could tell apart).
bool OwnedByUs(const std::string& path);

/// Gives the new file the owner and group of target where the process may (as
/// root, or the group for a member); a refusal is expected and not an error.
void KeepOwner(FileHandle file, const std::string& target);
/// Makes a rename in folder durable, where the system needs that; best effort.
void SyncFolder(const std::string& folder);

/// Throws FileError «Cannot WHAT "PATH": REASON.» with the system's reason for
/// error (files.cpp).
[[noreturn]] void Fail(const std::string& what, const std::string& path, int error);

}  // namespace qm::platform
