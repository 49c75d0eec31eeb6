#pragma once
// The string table as JSON: {"strings": [{"number": 1, "portrait": "Rosalind",
// "text": ..., "coloured": "No", "pointer": "0004"}, ...]}, the columns as the
// list shows them. Game text is one byte per char; in JSON each is the character
// with that code (U+0000..U+00FF).

#include <span>
#include <string>
#include <vector>

#include "exchange/table.hpp"

namespace qm {

/// With reviews in the context, each row also gets "note" and "state" ("Needs
/// review"); with an original, each row it has gets "original": the original's
/// text. Texts are display text with the context's map.
std::string TableToJson(std::span<const StringEntry> rows, const TableContext& context = {});

/// One record per element of "strings", for the row at its position; a
/// "number" that differs from the position, or a missing or malformed field, is
/// the record's problem; "note" and "state", when there, are the record's; other
/// keys ("original") are ignored. Throws TableError when the text is no
/// JSON of this shape.
std::vector<TableRecord> TableFromJson(std::string_view json, const TableContext& context = {});

}  // namespace qm
