#include "rom/reader.hpp"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>

#include "errors.hpp"
#include "rom/decoder.hpp"

namespace qm {

namespace {

// Copies length bytes from offset of image into dest; what lies beyond the end
// of a short image stays 0.
void copyArea(std::span<const std::uint8_t> image, std::size_t offset,
              std::span<std::uint8_t> dest) {
    std::fill(dest.begin(), dest.end(), std::uint8_t{0});
    if (offset >= image.size()) {
        return;
    }
    const std::size_t available = std::min(dest.size(), image.size() - offset);
    std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(offset), available, dest.begin());
}

// Bounds-checked read from an open file: a short file yields zeros for the
// missing bytes, never a read past its end.
void readArea(std::ifstream& in, std::uintmax_t fileSize, std::size_t offset,
              std::span<std::uint8_t> dest, const std::string& path) {
    std::fill(dest.begin(), dest.end(), std::uint8_t{0});
    if (offset >= fileSize) {
        return;
    }
    const auto available =
        static_cast<std::size_t>(std::min<std::uintmax_t>(dest.size(), fileSize - offset));
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(dest.data()), static_cast<std::streamsize>(available));
    if (!in) {
        throw FileError("Cannot read \"" + path + "\".");
    }
}

}  // namespace

RomText ReadRomText(std::span<const std::uint8_t> image) {
    RomText text;
    copyArea(image, kPointerTableOffset, text.PointerTable);
    copyArea(image, kTextRegionOffset, text.TextBlock);
    return text;
}

RomText ReadRomText(const std::string& path, const ProgressFn& progress) {
    if (path.empty()) {
        throw FileError("No file was chosen.");
    }
    std::error_code ec;
    const std::filesystem::path fsPath(path);
    if (std::filesystem::is_directory(fsPath, ec)) {
        throw FileError("\"" + path + "\" is a folder, not a ROM image.");
    }
    const auto fileSize = std::filesystem::file_size(fsPath, ec);
    std::ifstream in(fsPath, std::ios::binary);
    if (ec || !in) {
        throw FileError("Cannot open \"" + path + "\".");
    }
    RomText text;
    if (progress) {
        progress("Reading ROM Pointers");
    }
    readArea(in, fileSize, kPointerTableOffset, text.PointerTable, path);
    if (progress) {
        progress("Reading ROM Strings");
    }
    readArea(in, fileSize, kTextRegionOffset, text.TextBlock, path);
    return text;
}

std::string ProgressPercent(double value) {
    char buffer[64];
    // Up to 15 significant digits, no trailing zeros (as "%.15g" writes it).
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    const auto length = std::min<std::ptrdiff_t>(result.ptr - buffer, 3);
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::vector<std::string> IsolateRomStrings(std::span<const std::uint8_t> textBlock,
                                           const ProgressFn& progress) {
    std::vector<std::string> strings(1);
    std::string accumulator = "0:";
    const double last = textBlock.empty() ? 1.0 : static_cast<double>(textBlock.size() - 1);
    std::string status;
    for (std::size_t index = 0; index < textBlock.size(); ++index) {
        if (progress) {
            status.assign("Isolating ROM Strings: ");
            status += ProgressPercent(static_cast<double>(index) / last * 100);
            status += '%';
            progress(status);
        }
        const std::uint8_t byte = textBlock[index];
        if (byte != kTerminator) {
            appendDecoded(accumulator, byte);
            continue;
        }
        strings.push_back(std::move(accumulator));
        if (strings.size() == kStringCount + 1) {
            break;
        }
        accumulator = std::to_string(index) + ":";
    }
    return strings;
}

}  // namespace qm
