#include "rom/load.hpp"

#include "files.hpp"
#include "rom/reader.hpp"

namespace qm {

namespace {

std::vector<StringEntry> buildTable(const RomText& text, const ProgressFn& progress) {
    std::vector<std::string> strings = IsolateRomStrings(text.TextBlock, progress);
    return UpdateStringtable(strings, text.TextBlock, progress);
}

}  // namespace

LoadedRom LoadRomFile(const std::string& path, const ProgressFn& progress) {
    const RegularFile file(path);
    const RomText text = ReadRomText(file, progress);
    return {buildTable(text, progress), StampOf(file, text)};
}

std::vector<StringEntry> LoadRom(const std::string& path, const ProgressFn& progress) {
    return LoadRomFile(path, progress).rows;
}

std::vector<StringEntry> LoadRom(std::span<const std::uint8_t> image, const ProgressFn& progress) {
    return buildTable(ReadRomText(image), progress);
}

}  // namespace qm
