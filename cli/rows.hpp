#pragma once
// The --rows option of the verbs that work on some rows: «3,7,10-20,500-».

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace qm::cli {

/// The 0-based rows that list (1-based numbers and ranges, "500-" running to the
/// last row) names in a table of rowCount rows, every row for an empty list.
/// Prints the usage message and returns nothing when it is no such list or names
/// a row the table lacks (the caller then exits with kUsage).
std::optional<std::vector<std::size_t>> RowsOption(const std::string& list, std::size_t rowCount);

}  // namespace qm::cli
