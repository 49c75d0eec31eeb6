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

std::vector<StringEntry> LoadRom(const std::string& path, const ProgressFn& progress) {
    const RegularFile file(path);
    return buildTable(ReadRomText(file, progress), progress);
}

std::vector<StringEntry> LoadRom(std::span<const std::uint8_t> image, const ProgressFn& progress) {
    return buildTable(ReadRomText(image), progress);
}

}  // namespace qm
