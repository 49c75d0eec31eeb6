#pragma once
// Putting the user's changes on top of a ROM image that another program changed
// since it was loaded: the window's Merge, when the open file changed on disk.

#include <cstddef>
#include <span>
#include <vector>

#include "rom/string_table.hpp"

namespace qm {

struct MergedRows {
    /// The file's rows as it is now, with the portrait, colour and text of each
    /// row the user changed put on top. Every row keeps the file's loaded form,
    /// so a row shows as changed exactly where it differs from the file now.
    std::vector<StringEntry> rows;
    /// The rows (0-based, ascending) that both sides changed, each differently
    /// from the other: rows holds the user's version of them.
    std::vector<std::size_t> conflicts;
};

/// Merges the user's table into the file's. mine: the user's rows, whose loaded
/// forms are the base (what the file held when it was loaded or last saved);
/// theirs: the rows of the file as it is now (LoadRom). A row the user changed is
/// one whose portrait, colour or text differ from its loaded form (or that has
/// none); the other side changed a row when the file's portrait, colour or text
/// of it differ from that same base. Rows only the file changed come as the file
/// has them. When the file now has fewer rows than a row the user changed, the
/// rows up to it come from the user's table as rows the file does not hold (no
/// loaded form), and the changed ones among them are conflicts. Never fails.
MergedRows MergeRows(std::span<const StringEntry> mine, std::span<const StringEntry> theirs);

}  // namespace qm
