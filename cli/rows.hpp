#pragma once
// The --rows option of the verbs that work on some rows: «3,7,10-20,500-».

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "rom/load.hpp"

namespace qm::cli {

/// The 0-based rows that list (1-based numbers and ranges, "500-" running to the
/// last row) names in a table of rowCount rows, every row for an empty list.
/// Prints the usage message and returns nothing when it is no such list or names
/// a row the table lacks (the caller then exits with kUsage).
std::optional<std::vector<std::size_t>> RowsOption(const std::string& list, std::size_t rowCount);

/// Saves rows, edited from loaded (the texts of rows `changed` changed), into rom
/// as import does: in place, or with copy into the copy Save As Copy names (whose
/// path it returns), refusing when another program changed rom since it was
/// loaded (FileChangedError); then the project file beside what was written, with
/// the changed rows' review states as an edit leaves them. With dryRun nothing is
/// written, but every refusal of the whole table the save would meet (the text
/// region's size) is met. Throws SaveError, FileError.
std::string SaveEditedRows(const std::string& rom, const LoadedRom& loaded,
                           std::span<const StringEntry> rows, std::span<const std::size_t> changed,
                           bool copy, bool dryRun);

}  // namespace qm::cli
