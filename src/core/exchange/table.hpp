#pragma once
// Taking a table file's rows into the string table: every exchange format (JSON,
// CSV, PO) reads its file into records, and ApplyTable checks all of them before
// any row changes. Rows a file leaves as they were keep their loaded bytes.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "rom/string_table.hpp"

namespace qm {

/// One row as a table file gives it, in the texts the list shows (game text one
/// byte per char). A field the format does not carry is left empty and keeps
/// the row's value.
struct TableRecord {
    std::string where;               ///< «row 17», «line 18» or the like, for messages
    std::optional<std::size_t> row;  ///< the 0-based row it is for
    std::optional<std::string> portrait;
    std::optional<std::string> text;
    std::optional<std::string> coloured;
    /// The text the record was made from (a PO file's msgid): a row whose text has
    /// changed since is still updated, and the change reported.
    std::optional<std::string> exportedText;
    std::vector<std::string> problems;  ///< what the reader already refused, without where
};

struct TableImport {
    std::vector<StringEntry> rows;
    std::size_t changed = 0;         ///< rows whose portrait, colour or text changed
    std::vector<std::string> notes;  ///< «row 17 has changed since the export»
};

/// Applies records to a copy of rows. Refuses, by a TableError listing every
/// refused record (up to 20, then a count): more than 512 records, a
/// row number that is no row of the table or comes twice, an unknown portrait
/// name, a colour other than "Yes", "No" or "?" ("" only for a row that loaded
/// so), a changed row the game cannot hold, and whatever the reader refused.
TableImport ApplyTable(std::span<const StringEntry> rows, std::span<const TableRecord> records);

}  // namespace qm
