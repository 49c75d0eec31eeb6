#pragma once
// The string table as JSON: {"strings": [{"number": 1, "portrait": ..., "text": ...,
// "coloured": ..., "pointer": ...}, ...]}. Every char of a column is one byte; in
// JSON it is the character with that code (U+0000..U+00FF).

#include <stdexcept>
#include <string>
#include <vector>

#include "rom/string_table.hpp"

namespace qm::cli {

/// A table file that is not valid JSON of the export format.
class TableFormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

std::string tableToJson(const std::vector<StringEntry>& rows);

/// Rows in file order with Portrait, Text and Coloured set from the file; Number
/// and PointerValue are left empty (they are never written back). Throws
/// TableFormatError naming the row and field at fault.
std::vector<StringEntry> tableFromJson(const std::string& json);

/// Latin-1 <-> UTF-8 for the byte strings of the table.
std::string latin1ToUtf8(const std::string& bytes);
/// Throws TableFormatError when a character above U+00FF (or bad UTF-8) is met.
std::string utf8ToLatin1(const std::string& utf8);

}  // namespace qm::cli
