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
                        const ProgressFn& progress, const SaveOptions& options) {
    return SaveRomAsCopy(romPath, rows, progress, SystemFileOps(), options);
}

SavedCopy SaveRomAsCopy(const std::string& romPath, std::span<const StringEntry> rows,
                        const ProgressFn& progress, FileOps& ops, const SaveOptions& options) {
    const std::string copyPath = CopyName(romPath);
    return {copyPath, SaveRomCopyTo(romPath, copyPath, rows, progress, ops, options)};
}

RomStamp SaveRomCopyTo(const std::string& romPath, const std::string& copyPath,
                       std::span<const StringEntry> rows, const ProgressFn& progress, FileOps& ops,
                       const SaveOptions& options) {
    const LaidOutText laidOut = LayOutRows(rows, progress);
    CheckRomFile(romPath, RomAccess::kReadOnly);
    checkCopyPlace(romPath, copyPath);
    const ResolvedFile source = ResolveFile(romPath);
    Bytes image = ReadRomForSave(source.path, romPath, options.expected);
    ApplySave(image, laidOut, options);
    return WriteSavedRom(copyPath, image, ops, WritableLike(source), romPath, options.expected);
}

}  // namespace qm
