#include "save/copy_name.hpp"

#include "errors.hpp"
#include "files.hpp"
#include "save/writer.hpp"
#include "text.hpp"

namespace qm {

namespace {

std::string::size_type fileNameStart(const std::string& path) {
    auto sep = path.find_last_of("/\\");
    return sep == std::string::npos ? 0 : sep + 1;
}

}  // namespace

std::string CopyName(const std::string& romPath) {
    auto start = fileNameStart(romPath);
    auto dot = romPath.rfind('.');
    auto stem = (dot == std::string::npos || dot < start) ? romPath : romPath.substr(0, dot);
    return stem + " Hack.smc";
}

std::string FileNameOf(const std::string& path) {
    return path.substr(fileNameStart(path));
}

void CopyRomFile(const std::string& from, const std::string& to) {
    CopyRomFile(from, to, SystemFileOps());
}

void CopyRomFile(const std::string& from, const std::string& to, FileOps& ops) {
    ResolvedFile source = ResolveFile(from);
    if (!source.exists || !source.isRegular) {
        throw FileError("Cannot copy " + Quoted(from) + ": it is not an existing file.");
    }
    ResolvedFile dest = ResolveFile(to);
    if (dest.exists && !dest.isRegular) {
        throw FileError("Cannot copy to " + Quoted(to) + ": it is a folder or not a regular file.");
    }
    if (dest.exists && (dest.permissions & 0222) == 0) {
        throw FileError("Cannot copy to " + Quoted(to) + ": the existing file is read-only.");
    }
    Bytes bytes = ReadWholeFile(source.path);
    // A replaced copy keeps its own permissions; a new one takes the source's.
    WriteFileAtomically(to, bytes, ops, source.permissions | 0200);
}

std::string SaveRomAsCopy(const std::string& romPath, std::span<const StringEntry> rows,
                          const ProgressFn& progress, const CopiedFn& copied) {
    return SaveRomAsCopy(romPath, rows, progress, copied, SystemFileOps());
}

std::string SaveRomAsCopy(const std::string& romPath, std::span<const StringEntry> rows,
                          const ProgressFn& progress, const CopiedFn& copied, FileOps& ops) {
    LaidOutText laidOut = LayOutRows(rows, progress);
    CheckRomFile(romPath, RomAccess::kReadOnly);
    std::string copyPath = CopyName(romPath);
    CopyRomFile(romPath, copyPath, ops);
    if (copied) {
        copied(copyPath);
    }
    WriteLaidOutText(copyPath, laidOut, ops);
    return copyPath;
}

}  // namespace qm
