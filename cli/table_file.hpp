#pragma once
// Reading a table file (JSON, CSV, PO) for the verbs that take one: import,
// check and diff.

#include <string>
#include <vector>

#include "errors.hpp"
#include "exchange/table.hpp"

namespace qm::cli {

/// ReadTableFile with format named as the command line names it ("json", "csv",
/// "po", "pot"; empty: from path's extension), read with context
/// (TableFromText). Throws FileError, TableError.
std::vector<TableRecord> ReadTable(const std::string& path, const std::string& format = "",
                                   const TableContext& context = {});

/// A message about a table: «The table "story.po": <what>», «The table from
/// standard input: <what>».
std::string TableMessage(const std::string& path, const std::string& what);

}  // namespace qm::cli
