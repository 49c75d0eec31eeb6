#include "rom_files.hpp"

#include "project/charmap_file.hpp"

namespace qm::cli {

CharacterMap CharacterMapFor(const std::string& option, const std::string& rom) {
    if (!option.empty()) {
        return ReadCharacterMapFile(option);
    }
    return ReadCharacterMapBeside(rom).value_or(CharacterMap());
}

}  // namespace qm::cli
