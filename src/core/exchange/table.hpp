#pragma once
// Taking a table file's rows into the string table: every exchange format (JSON,
// CSV, PO) reads its file into records, and ApplyTable checks all of them before
// any row changes. Rows a file leaves as they were keep their loaded bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "markup/charmap.hpp"
#include "rom/string_table.hpp"
#include "translation/review.hpp"

namespace qm {

/// The largest table file taken in. The largest table a ROM image can hold,
/// written as wastefully as the formats allow (every character of its markup a
/// JSON \u escape), is under 2 MiB; the rest is room for translators' own
/// columns and comments. Anything larger is a mistake, not a table.
inline constexpr std::uintmax_t kLargestTableFile = 4 * 1024 * 1024;

/// What a table file carries beside the rows, and how it shows their texts.
struct TableContext {
    /// Export: the rows of an untouched ROM image of the game, whose texts go
    /// beside the rows.
    std::span<const StringEntry> original = {};
    /// Texts are display text (MarkupToDisplay, DisplayToMarkup) with this map;
    /// without one, the markup as it stands. Problems name positions in display text.
    const CharacterMap* map = nullptr;
    /// The rows' notes and review states: exported beside the rows, and what an
    /// import's TableImport::reviews starts from. Without them an export carries
    /// no notes and states (so its import cannot clear any).
    const Reviews* reviews = nullptr;
    /// PO import with reviews: a fuzzy entry's text comes in and marks its row
    /// Needs review. False, or without reviews to mark them in, fuzzy entries
    /// leave their rows as they are, as gettext's own tools do.
    bool takeFuzzy = true;
};

/// The context's map, or an empty one.
const CharacterMap& MapOf(const TableContext& context);

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
    std::vector<std::string> problems;      ///< what the reader already refused, without where
    std::optional<std::string> note = {};   ///< UTF-8
    std::optional<std::string> state = {};  ///< as the file gives it: "Needs review" (any case), ""
    std::optional<bool> fuzzy = {};         ///< PO: whether a translated entry is marked fuzzy
};

/// A record that cannot be taken into the string table.
struct TableRefusal {
    std::optional<std::size_t> row;  ///< the 0-based row it names, when it names one
    std::string message;             ///< as import lists it: «line 18 (row 17): ...»
};

struct TableImport {
    std::vector<StringEntry> rows;
    std::size_t changed = 0;  ///< rows whose portrait, colour or text changed
    /// «row 17 has changed since the export»: up to 20, then «... and N more».
    std::vector<std::string> notes;
    std::vector<TableRefusal> refusals;  ///< in file order; ApplyTable returns none
    /// The context's reviews after the records: a record's note, unless empty,
    /// replaces the row's; a state the record changes is taken (an empty one
    /// changes nothing); else a fuzzy PO entry marks its row Needs review and a
    /// PO entry no longer fuzzy takes a Needs review row to Draft; else a row
    /// whose text changed takes StateAfterTextChange.
    Reviews reviews = {};
    std::size_t reviewsChanged = 0;  ///< rows whose note or state changed
};

/// Throws TableError «The table has N rows; a ROM image holds at most 512.» when
/// count is above kStringCount. Readers call it as soon as they know.
void CheckRowCount(std::size_t count);

/// Applies to a copy of rows every record that can be taken in and lists the
/// others: a row number that is no row of the table or comes twice, an unknown
/// portrait name, a colour other than "Yes", "No" or "?" ("" only for a row that
/// loaded so), a changed row the game cannot hold, and whatever the reader
/// refused. A refused record leaves its row as it was. Throws TableError (the
/// whole table refused) for more than 512 records.
TableImport CheckTable(std::span<const StringEntry> rows, std::span<const TableRecord> records,
                       const TableContext& context = {});

/// CheckTable, refusing the whole import when any record is refused: throws
/// TableError with RefusalMessage of the refusals.
TableImport ApplyTable(std::span<const StringEntry> rows, std::span<const TableRecord> records,
                       const TableContext& context = {});

/// «2 rows cannot be taken in:», then the refusals one a line (up to 20, then
/// how many more).
std::string RefusalMessage(std::span<const TableRefusal> refusals);

}  // namespace qm
