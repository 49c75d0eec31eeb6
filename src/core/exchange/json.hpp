#pragma once
// The string table as JSON: {"strings": [{"number": 1, "portrait": "Rosalind",
// "text": ..., "coloured": "No", "pointer": "0004"}, ...]}, the columns as the
// list shows them. Game text is one byte per char; in JSON each is the character
// with that code (U+0000..U+00FF).

#include <span>
#include <string>
#include <vector>

#include "rom/string_table.hpp"

namespace qm {

std::string TableToJson(std::span<const StringEntry> rows);

/// Rows in file order with portrait, text and colour from the file. Throws
/// TableError naming the row and field at fault.
std::vector<StringEntry> TableFromJson(const std::string& json);

}  // namespace qm
