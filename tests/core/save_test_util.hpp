#pragma once
// Helpers shared by the save tests: rows, ROM files and directory listings.

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fixtures/rom_builder.hpp"
#include "rom/string_table.hpp"

namespace qm::savetest {

inline StringEntry row(std::string text, std::string portrait = "None",
                       std::string coloured = "?") {
    StringEntry r;
    r.Portrait = std::move(portrait);
    r.Text = std::move(text);
    r.Coloured = std::move(coloured);
    return r;
}

/// A 4 MiB image with a few strings, the rest of the region 0xEE.
inline qm::testing::RomBuilder sampleRom() {
    qm::testing::RomBuilder b;
    b.addString({5, 1, 4, 10, 39, 72, 1, 5, 95})  // "Hi(Pause:5) ", Mad Ms. Edna, coloured
        .addString({0x20, 0x5F, 0x41, 0x4D, 0x4D, 0x48, 0x73})
        .addString({})
        .addString({0x33, 0x44, 0x44, 0x0D, 0x61, 0x60, 0x74})
        .regionFiller(0xEE);
    return b;
}

/// 512 rows of a single letter each (2 bytes encoded).
inline std::vector<StringEntry> shortRows() {
    return std::vector<StringEntry>(512, row("A"));
}

/// Names in a folder, sorted.
inline std::vector<std::string> listing(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

inline mode_t modeOf(const std::filesystem::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

}  // namespace qm::savetest
