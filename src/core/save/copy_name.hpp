#pragma once
// Save As Copy: the copy's name, the copy itself, and the whole
// command (validate, copy, save into the copy).

#include <functional>
#include <span>
#include <string>

#include "rom/layout.hpp"
#include "rom/string_table.hpp"

namespace qm {

class FileOps;  // files.hpp

/// Name of the copy that Save As Copy writes: the path before the last "." of
/// its file name, then " Hack.smc" («D:\roms\story.smc» -> «D:\roms\story Hack.smc»,
/// «a.b.smc» -> «a.b Hack.smc»). A file name without "." keeps its whole name, so
/// the copy stays in the file's folder («/my.roms/story» -> «/my.roms/story Hack.smc»).
/// Both "/" and "\" separate folders. Never fails.
std::string CopyName(const std::string& romPath);

/// The file-name part of a path: what follows its last "/" or "\" (the whole
/// path when it has neither). The window's caption shows it.
std::string FileNameOf(const std::string& path);

/// Copies the file at from to to, replacing an existing file there (following a
/// symbolic link at to), atomically. The copy gets from's permissions plus the
/// owner's write permission, so a copy of a read-only image can be saved into.
/// Throws FileError (from unreadable, to a folder or read-only, a write step
/// failed); a failed copy leaves no partial file at to and an existing file there
/// as it was.
void CopyRomFile(const std::string& from, const std::string& to);
void CopyRomFile(const std::string& from, const std::string& to, FileOps& ops);

/// Called once the copy is in place, with its path: the window points RomPath
/// and the caption at it here, before the save into the copy runs.
using CopiedFn = std::function<void(const std::string& copyPath)>;

/// Save As Copy: lays out rows (LayOutRows: refusals come before any copy is
/// made), checks that romPath is a usable ROM image (it need not be writable),
/// copies it to CopyName(romPath), calls copied, then saves the rows into the
/// copy as SaveRom does. Returns the copy's path. Throws SaveError or FileError;
/// when the copy failed, copied was not called and no file changed.
std::string SaveRomAsCopy(const std::string& romPath, std::span<const StringEntry> rows,
                          const ProgressFn& progress = {}, const CopiedFn& copied = {});
std::string SaveRomAsCopy(const std::string& romPath, std::span<const StringEntry> rows,
                          const ProgressFn& progress, const CopiedFn& copied, FileOps& ops);

}  // namespace qm
