#pragma once
// The string table in the three exchange formats: JSON (exchange/json.hpp), CSV
// for spreadsheets and gettext PO for translators' PO editors. Each writes the
// rows as the list shows them and reads a file into records for ApplyTable.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/table.hpp"

namespace qm {

enum class TableFormat { Json, Csv, Po };

/// The format a name stands for: "json", "csv", "po" or "pot" in any case;
/// nothing otherwise.
std::optional<TableFormat> TableFormatNamed(std::string_view name);

/// The format a file's extension names: .json, .csv, .po or .pot in any case;
/// nothing for any other name.
std::optional<TableFormat> TableFormatOfExtension(std::string_view fileName);

/// TableFormatOfExtension, JSON for any other name.
TableFormat TableFormatForFileName(std::string_view fileName);

/// The CSV column that carries the original's text of a row beside the row;
/// import ignores it, as it ignores every column it does not know.
inline constexpr const char* kOriginalCaption = "Original";

/// CSV (RFC 4180, UTF-8, CRLF): a header with the list's captions ("Number",
/// "Portrait", "Text", "Coloured", "Pointer Value"), then one record per row.
/// With an original, a last column "Original" holds the original's text of the
/// row (empty where the original has no such row). Texts are display text with
/// the context's map.
std::string TableToCsv(std::span<const StringEntry> rows, const TableContext& context = {});

/// One record per CSV line after the header, for the row its "Number" names,
/// taking "Portrait", "Text" and "Coloured" (any missing column keeps the row's
/// value; "Pointer Value" and unknown columns are ignored). Throws TableError for
/// text that is no CSV (with line and column) or a header without "Number".
std::vector<TableRecord> TableFromCsv(std::string_view text, const TableContext& context = {});

/// A PO file (gettext's own writer): one entry per row, msgctxt the row number,
/// msgid the row's markup, msgstr empty, and extracted comments naming the
/// portrait, the colour and the preview as the player sees it ("|" between lines).
/// With an original, an extracted comment «Original: ...» gives the original's
/// text of each row it has. With reviews, a row's note is its translator
/// comment, and a row that needs review has its text as msgstr, marked fuzzy. Texts are display
/// text with the context's map. Throws TableError when the file cannot be made, or this build has
/// no PO files.
std::string TableToPo(std::span<const StringEntry> rows, const TableContext& context = {});

/// One record per PO entry, for the row its msgctxt names exactly as an export
/// writes it ("17"; "017" or "17 " is refused). A translated entry gives the
/// row's text (its msgid is kept to report rows that changed since the export)
/// and its fuzzy flag, but a fuzzy one only as TableContext::takeFuzzy says; an
/// empty one leaves the row as it is. Translator comments give the note.
/// Portrait and colour never change. Throws TableError for text that is no PO
/// file (with its line), and, before parsing, for more entries or lines than a
/// table's file can have; in a build without PO files, for any text.
std::vector<TableRecord> TableFromPo(std::string_view text, const TableContext& context = {});

/// The table in format (with what the context adds), and a file in format read
/// into records (its texts display text with the context's map: a character
/// the map lacks is the record's problem). Throws TableError when the text is
/// larger than kLargestTableFile, or has more rows than a ROM image (as soon as
/// that is known), or cannot be written (PO).
std::string TableToText(TableFormat format, std::span<const StringEntry> rows,
                        const TableContext& context = {});
std::vector<TableRecord> TableFromText(TableFormat format, std::string_view text,
                                       const TableContext& context = {});
/// TableToText with the original's texts beside the rows and nothing else.
std::string TableToText(TableFormat format, std::span<const StringEntry> rows,
                        std::span<const StringEntry> original);

}  // namespace qm
