#pragma once
// The files of a ROM image's own that the verbs read beside it: the character
// map (NAME.tbl beside NAME.smc).

#include <string>

#include "markup/charmap.hpp"

namespace qm::cli {

/// The character map a verb working on rom uses: the file given with --charmap
/// (option), else NAME.tbl beside rom when there is one, else none (an empty
/// map). Throws FileError and ProjectFileError.
CharacterMap CharacterMapFor(const std::string& option, const std::string& rom);

}  // namespace qm::cli
