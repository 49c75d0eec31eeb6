#pragma once
// Helpers shared by the save tests: rows, sample images and folder snapshots.

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "errors.hpp"
#include "fixtures/rom_builder.hpp"
#include "rom/string_table.hpp"

namespace qm::savetest {

inline StringEntry row(std::string text, std::string portrait = "None",
                       std::string coloured = "?") {
    return {"", std::move(portrait), std::move(text), std::move(coloured), ""};
}

/// A 4 MiB image with four strings; the rest of the region is 0xEE.
inline qm::testing::RomBuilder sampleRom() {
    qm::testing::RomBuilder b;
    b.addString({5, 1, 4, 10, 39, 72, 1, 5, 95})
        .addString({0x20, 0x5F, 0x41, 0x4D, 0x4D, 0x48, 0x73})
        .addString({})
        .addString({0x33, 0x44, 0x44, 0x0D, 0x61, 0x60, 0x74})
        .regionFiller(0xEE);
    return b;
}

/// 512 rows of "A" (0x20 0xFF each).
inline std::vector<StringEntry> shortRows() {
    return std::vector<StringEntry>(512, row("A"));
}

/// Pointer entry k of a table (little-endian).
inline std::uint16_t entryAt(std::span<const std::uint8_t> table, std::size_t k) {
    return static_cast<std::uint16_t>(table[2 * k] | (table[2 * k + 1] << 8));
}

inline mode_t modeOf(const std::filesystem::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

/// Every name in a folder with its mode and, for regular files, its bytes: equal
/// snapshots mean nothing was changed, created or left behind.
using Snapshot = std::map<std::string, std::pair<mode_t, Bytes>>;
inline Snapshot snapshot(const std::filesystem::path& dir) {
    Snapshot s;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        s[e.path().filename().string()] = {
            modeOf(e.path()), e.is_regular_file() ? qm::testing::readFile(e.path()) : Bytes{}};
    }
    return s;
}

/// The SaveError message f throws, or "(no SaveError)".
template <class F>
std::string saveErrorOf(F&& f) {
    try {
        f();
    } catch (const SaveError& e) {
        return e.what();
    }
    return "(no SaveError)";
}

}  // namespace qm::savetest
