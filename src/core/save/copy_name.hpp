#pragma once
// Save As Copy: the copy's name, and the whole command (validate, build the
// copy's bytes, write the copy once).

#include <optional>
#include <span>
#include <string>

#include "rom/stamp.hpp"
#include "rom/string_table.hpp"
#include "save/writer.hpp"
#include "types.hpp"

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

/// The copy Save As Copy wrote: its path, and its stamp as written (the stamp
/// later saves into the copy are checked against).
struct SavedCopy {
    std::string path;
    RomStamp stamp;
};

/// Save As Copy: lays out rows (refusals come before anything is written),
/// checks that romPath is a usable ROM image (it need not be writable), builds
/// the copy's bytes in memory (the file on disk with the rows saved into it) and
/// writes them to CopyName(romPath) in one atomic replace, so the copy is never
/// half made. A new copy gets the original's permissions plus the owner's write
/// permission, as far as the umask allows; an existing one keeps its own. With
/// expected, romPath must still match it, on what was read and right before the
/// copy is put in place: otherwise FileChangedError. Throws SaveError or
/// FileError (also when the copy's name leads to the original itself, or the
/// copy's place is a folder or read-only); then no file changed.
SavedCopy SaveRomAsCopy(const std::string& romPath, std::span<const StringEntry> rows,
                        const ProgressFn& progress = {}, const SaveOptions& options = {});
SavedCopy SaveRomAsCopy(const std::string& romPath, std::span<const StringEntry> rows,
                        const ProgressFn& progress, FileOps& ops, const SaveOptions& options = {});
/// Save As Copy To...: the same, to copyPath of the user's choosing. Returns the
/// stamp of the copy as written.
RomStamp SaveRomCopyTo(const std::string& romPath, const std::string& copyPath,
                       std::span<const StringEntry> rows, const ProgressFn& progress, FileOps& ops,
                       const SaveOptions& options);

}  // namespace qm
