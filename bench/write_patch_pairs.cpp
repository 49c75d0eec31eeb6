// Writes the patch pairs of tests/fixtures/patch_pairs.hpp into a folder, as
// NAME.source.smc and NAME.target.smc, for bench/patch_side_by_side.sh.
#include <filesystem>
#include <iostream>

#include "fixtures/patch_pairs.hpp"
#include "fixtures/rom_builder.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: qm_write_patch_pairs FOLDER\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    for (const auto& pair : qm::testing::PatchPairs()) {
        qm::testing::writeFile(dir / (pair.name + ".source.smc"), pair.source);
        qm::testing::writeFile(dir / (pair.name + ".target.smc"), pair.target);
        std::cout << pair.name << "\n";
    }
    return 0;
}
