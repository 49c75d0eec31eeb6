#pragma once
// Internal to exchange/: a look at a PO text without parsing it, reading strings
// and comments as gettext's lexer does. po_file.cpp makes it before libgettextpo
// sees a text, to refuse what the library would misread or choke on.

#include <string_view>

#include "exchange/po_file.hpp"

namespace qm {

struct PoScan {
    /// The line of the first NUL, raw or escaped in a string, or 0. libgettextpo
    /// hands texts over as C strings, so a NUL would silently cut one short:
    /// «msgstr "Hi\0there"» would read as "Hi".
    int nulLine = 0;
    PoCounts counts{1, 0};
};

PoScan ScanPo(std::string_view text);

}  // namespace qm
