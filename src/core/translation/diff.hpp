#pragma once
// What differs between two string tables: a translation against the original,
// or a ROM image against what importing a table into it would give.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "markup/charmap.hpp"
#include "rom/string_table.hpp"

namespace qm {

struct RowDifference {
    std::size_t row = 0;                ///< 0-based
    std::optional<StringEntry> before;  ///< nothing when that table has no such row
    std::optional<StringEntry> after;
    /// PreviewLines of each side's text (none for a side that has no such row).
    std::vector<std::string> previewBefore;
    std::vector<std::string> previewAfter;

    bool portraitChanged() const;
    bool colourChanged() const;
    bool textChanged() const;
};

/// The rows whose portrait, colour or text differ between before and after,
/// ascending (a row that only one table has differs too). Loaded bytes and
/// pointers do not count: two spellings of the same text are the same row.
/// Never fails.
std::vector<RowDifference> DiffTables(std::span<const StringEntry> before,
                                      std::span<const StringEntry> after);
/// The same with the previews in display text: PreviewLines with map, UTF-8.
std::vector<RowDifference> DiffTables(std::span<const StringEntry> before,
                                      std::span<const StringEntry> after, const CharacterMap& map);

}  // namespace qm
