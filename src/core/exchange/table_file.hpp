#pragma once
// Reading a table file (JSON, CSV, PO) from its path: the one way the window's
// Import Table and the tool's import, check and diff take a table in.

#include <optional>
#include <string>
#include <vector>

#include "exchange/formats.hpp"

namespace qm {

/// The records of the table file at path ("-": standard input), which may hold at
/// most kLargestTableFile bytes, in format (nothing: as path's extension says,
/// JSON for any other name), read with context (TableFromText). Throws FileError
/// (no regular file, too large, unreadable) and TableError (not in its format).
std::vector<TableRecord> ReadTableFile(const std::string& path,
                                       std::optional<TableFormat> format = {},
                                       const TableContext& context = {});

}  // namespace qm
