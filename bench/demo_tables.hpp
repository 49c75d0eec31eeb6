// The tables the translation benchmarks share: the untouched demo as the
// original, the demo translated against it, and a character map of every free code.
#pragma once

#include <vector>

#include "demo/demo.hpp"
#include "markup/charmap.hpp"
#include "rom/load.hpp"

namespace qm {

struct DemoTables {
    std::vector<StringEntry> original = LoadRom(BuildDemoImage());
    std::vector<StringEntry> rows;
};

/// The demo translated: the even rows by one German line (which drops codes,
/// numbers and marks); with everyRow the odd rows too, each changed a little
/// (no warning but inconsistent ones).
inline DemoTables TranslatedDemo(bool everyRow) {
    DemoTables t;
    t.rows = t.original;
    for (std::size_t k = 0; k < t.rows.size(); ++k) {
        if (k % 2 == 0) {
            t.rows[k].Text = "Guten Morgen!(return)Die Ebbe ist da, sagt man hier.";
        } else if (everyRow) {
            t.rows[k].Text = "Ja, " + t.rows[k].Text;
        }
    }
    return t;
}

/// Every free code mapped, to letters of Latin Extended-A (two bytes in UTF-8).
inline CharacterMap FullCharacterMap() {
    CharacterMap map;
    char32_t c = 0x100;
    for (std::uint8_t code : FreeCodes()) {
        map.assign(code, c++);
    }
    return map;
}

}  // namespace qm
