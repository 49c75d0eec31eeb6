#pragma once
// How much of the text region the string table needs, kept row by row so that a
// keystroke costs the encoding of one row, not of the whole table.

#include <cstddef>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "markup/encoder.hpp"
#include "rom/string_table.hpp"

namespace qm {

/// Why a save would refuse row: the first problem the encoder meets, as
/// EncodeError(position, length, reason) reports it; nothing when a save can
/// write the row (an unchanged row always can: it keeps its loaded bytes). The
/// budget and the row states both decide by it.
std::optional<MarkupProblem> SaveProblem(const StringEntry& row);

/// What the game misreads in the bytes a save keeps for an unchanged row: the
/// first problem the encoder finds in its text (such as a control code that takes
/// a value ending the string, so that the game reads on into the next one);
/// nothing for a changed row, which SaveProblem judges. Never fails.
std::optional<MarkupProblem> StoredProblem(const StringEntry& row);

struct RegionUsage {
    std::size_t bytes = 0;                      ///< of the rows that can be encoded
    std::optional<std::size_t> unencodableRow;  ///< the first row that cannot (0-based)

    bool over() const;
};

class RegionBudget {
  public:
    /// Sizes every row of the first 512 (later rows are never written).
    void reset(std::span<const StringEntry> rows);
    /// Row index now holds row.
    void update(std::size_t index, const StringEntry& row);
    RegionUsage usage() const;
    /// The usage as if row index held candidate (the edit box not yet applied).
    RegionUsage usageWith(std::size_t index, const StringEntry& candidate) const;

  private:
    std::vector<std::optional<std::size_t>> sizes_;  // nothing: cannot be encoded
    std::size_t total_ = 0;
    std::set<std::size_t> unencodable_;
};

/// «23,959 / 28,095 bytes», «28,307 / 28,095 bytes: 212 bytes over», or
/// «Row 17 cannot be saved» while a row cannot be encoded.
std::string BudgetText(const RegionUsage& usage);

}  // namespace qm
