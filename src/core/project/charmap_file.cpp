#include "project/charmap_file.hpp"

#include <array>

#include "errors.hpp"
#include "files.hpp"
#include "markup/display.hpp"
#include "text.hpp"

namespace qm {

namespace {

std::string textOf(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

std::string CharacterMapPathFor(const std::string& romPath) {
    const std::size_t slash = romPath.find_last_of("/\\");
    const std::size_t dot = romPath.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? romPath.substr(0, dot) : romPath) + ".tbl";
}

CharacterMap ReadCharacterMapFile(const std::string& path) {
    const std::string text = textOf(RegularFile(path).readAll(kLargestCharacterMapFile));
    try {
        return ParseCharacterMap(text);
    } catch (const ProjectFileError& e) {
        throw ProjectFileError("The character map " + Quoted(path), e);
    }
}

std::optional<CharacterMap> ReadCharacterMapBeside(const std::string& romPath) {
    const std::string path = CharacterMapPathFor(romPath);
    if (!ResolveFile(path).exists) {
        return std::nullopt;
    }
    return ReadCharacterMapFile(path);
}

void WriteCharacterMapFile(const std::string& path, const CharacterMap& map) {
    std::string previous;
    if (const ResolvedFile there = ResolveFile(path); there.exists && there.isRegular) {
        previous = textOf(RegularFile(path).readAll(kLargestCharacterMapFile));
        try {
            ParseCharacterMap(previous);
        } catch (const ProjectFileError&) {
            previous.clear();  // its lines cannot be told apart: the map is written whole
        }
    }
    const std::string text = CharacterMapText(map, previous);
    WriteFileAtomically(path,
                        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::vector<FreeCodeUse> FreeCodeUsage(std::span<const StringEntry> rows) {
    std::array<FreeCodeUse, 256> uses{};
    for (const StringEntry& row : rows) {
        std::array<bool, 256> inRow{};
        for (const MarkupToken& token : MarkupTokens(row.Text)) {
            if (const auto value = PlaceholderValue(
                    std::string_view(row.Text).substr(token.position, token.length))) {
                ++uses[*value].uses;
                inRow[*value] = true;
            }
        }
        for (int code = 0; code < 256; ++code) {
            uses[code].rows += inRow[code] ? 1 : 0;
        }
    }
    std::vector<FreeCodeUse> free;
    for (std::uint8_t code : FreeCodes()) {
        free.push_back({code, uses[code].uses, uses[code].rows});
    }
    return free;
}

}  // namespace qm
