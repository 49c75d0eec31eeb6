#include "save/copy_name.hpp"

#include "errors.hpp"
#include "files.hpp"
#include "save/writer.hpp"
#include "text.hpp"

namespace qm {

namespace {

std::string::size_type fileNameStart(const std::string& path) {
    const auto sep = path.find_last_of("/\\");
    return sep == std::string::npos ? 0 : sep + 1;
}

void checkCopyPlace(const std::string& romPath, const std::string& copyPath) {
    const ResolvedFile dest = ResolveFile(copyPath);
    if (dest.exists && !dest.isRegular) {
        throw FileError("Cannot write the copy " + Quoted(copyPath) +
                        ": it is a folder or not a regular file.");
    }
    if (dest.exists && dest.readOnly) {
        throw FileError("Cannot write the copy " + Quoted(copyPath) +
                        ": the existing file is read-only.");
    }
    if (SameFile(copyPath, romPath)) {
        throw FileError("Cannot write the copy " + Quoted(copyPath) +
                        ": it leads to the ROM image itself.");
    }
}

}  // namespace

std::string CopyName(const std::string& romPath) {
    const auto start = fileNameStart(romPath);
    const auto dot = romPath.rfind('.');
    const auto stem = (dot == std::string::npos || dot < start) ? romPath : romPath.substr(0, dot);
    return stem + " Hack.smc";
}

std::string FileNameOf(const std::string& path) {
    return path.substr(fileNameStart(path));
}

SavedCopy SaveRomAsCopy(const std::string& romPath, std::span<const StringEntry> rows,
                        const ProgressFn& progress, const std::optional<RomStamp>& expected) {
    return SaveRomAsCopy(romPath, rows, progress, SystemFileOps(), expected);
}

SavedCopy SaveRomAsCopy(const std::string& romPath, std::span<const StringEntry> rows,
                        const ProgressFn& progress, FileOps& ops,
                        const std::optional<RomStamp>& expected) {
    const LaidOutText laidOut = LayOutRows(rows, progress);
    CheckRomFile(romPath, RomAccess::kReadOnly);
    const std::string copyPath = CopyName(romPath);
    checkCopyPlace(romPath, copyPath);
    const ResolvedFile source = ResolveFile(romPath);
    Bytes image = ReadRomForSave(source.path, romPath, expected);
    ApplyLaidOutText(image, laidOut);
    return {copyPath, WriteSavedRom(copyPath, image, ops, WritableLike(source), romPath, expected)};
}

}  // namespace qm
