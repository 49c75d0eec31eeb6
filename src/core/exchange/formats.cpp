#include "exchange/formats.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "errors.hpp"
#include "exchange/csv.hpp"
#include "exchange/json.hpp"
#include "exchange/po_file.hpp"
#include "markup/display.hpp"
#include "preview/preview.hpp"
#include "rom/layout.hpp"
#include "text.hpp"

namespace qm {

namespace {

std::string lowerCase(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

constexpr std::size_t kLongestPo = 65536;

// A row number as a file writes it; nothing unless it is a whole number from 1.
std::optional<std::size_t> rowNumber(std::string_view text) {
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number == 0) {
        return std::nullopt;
    }
    return number - 1;
}

// A record for the row a file's number names, placed at its line for messages.
// An exact number is written as an export writes it («05» is not).
TableRecord recordFor(int line, const std::string& number, const char* numberIs,
                      bool exact = false) {
    TableRecord record;
    record.row = rowNumber(number);
    if (exact && record.row && number != std::to_string(*record.row + 1)) {
        record.row.reset();
    }
    record.where = "line " + std::to_string(line) +
                   (record.row ? " (row " + std::to_string(*record.row + 1) + ")" : "");
    if (!record.row) {
        record.problems.push_back(numberIs + Quoted(number) + " is no row number");
    }
    return record;
}

// The game text of a UTF-8 field (a text is display text, read with map);
// nothing, and a problem noted, when it has characters no game text can hold.
std::optional<std::string> gameText(const std::string& utf8, TableRecord& record,
                                    const CharacterMap* map = nullptr) {
    try {
        return map != nullptr ? DisplayToMarkup(utf8, *map) : Utf8ToLatin1(utf8);
    } catch (const TextError& e) {
        record.problems.emplace_back(e.what());
        return std::nullopt;
    }
}

// gettext joins a comment line that ends with a backslash to the next one: such
// a line gets a space, which noteOf takes away again.
std::string poComment(std::string line) {
    return line.ends_with('\\') ? line + " " : line;
}

// A note as PO translator comments, a line each; none for an empty note.
std::vector<std::string> noteComments(std::string_view note) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; !note.empty() && start <= note.size();) {
        const std::size_t end = std::min(note.find('\n', start), note.size());
        lines.push_back(poComment(std::string(note.substr(start, end - start))));
        start = end + 1;
    }
    return lines;
}

std::string noteOf(const std::vector<std::string>& comments) {
    std::string note;
    for (std::size_t i = 0; i < comments.size(); ++i) {
        const std::string& line = comments[i];
        note +=
            (i == 0 ? "" : "\n") + (line.ends_with("\\ ") ? line.substr(0, line.size() - 1) : line);
    }
    return note;
}

// A build without libgettextpo says so, whatever the PO file holds.
void requirePo() {
    if (!PoFilesSupported()) {
        throw TableError("PO files are not supported in this build.");
    }
}

// A CSV table's columns: the list's, then the row's note and review state.
constexpr int kColNote = kColumnCount;
constexpr int kColState = kColumnCount + 1;
constexpr int kCsvColumns = kColumnCount + 2;
constexpr std::array<const char*, kCsvColumns> kCsvCaptions = {kColumnCaptions[0],
                                                               kColumnCaptions[1],
                                                               kColumnCaptions[2],
                                                               kColumnCaptions[3],
                                                               kColumnCaptions[4],
                                                               "Note",
                                                               "State"};
using CsvColumns = std::array<std::optional<std::size_t>, kCsvColumns>;

// A note as a cell or comments give it, its line breaks written "\n".
std::string noteOf(std::string_view text) {
    std::string note;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool crlf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        note += text[i] == '\r' ? '\n' : text[i];
        i += crlf ? 1 : 0;
    }
    return note;
}

// The records of the lines after a CSV table's header. Only the columns a row
// takes are kept, and lines past the most a table can have are only counted, so
// memory stays near the text's size whatever its lines hold.
std::vector<TableRecord> csvRecords(CsvReader& reader, const CsvColumns& columnOf,
                                    const CharacterMap& map) {
    std::vector<TableRecord> records;
    std::size_t count = 0;
    std::array<std::string, kCsvColumns> fields;
    std::size_t fieldCount = 0;
    bool firstEmpty = false;
    const auto keep = [&](std::size_t at, std::string&& field) {
        fieldCount = at + 1;
        firstEmpty = firstEmpty || (at == 0 && field.empty());
        for (int column = 0; column < kCsvColumns; ++column) {
            if (columnOf[column] == at) {
                fields[column] = std::move(field);
            }
        }
    };
    for (; reader.next(keep); fields = {}, fieldCount = 0, firstEmpty = false) {
        if (fieldCount == 0 || (fieldCount == 1 && firstEmpty)) {
            continue;  // an empty line, as spreadsheets leave at the end
        }
        if (++count > kStringCount) {
            continue;
        }
        TableRecord record = recordFor(reader.line(), fields[kColNumber], "the number ");
        for (int column : {kColPortrait, kColText, kColColoured}) {
            if (columnOf[column]) {
                const auto value =
                    gameText(fields[column], record, column == kColText ? &map : nullptr);
                (column == kColPortrait ? record.portrait
                 : column == kColText   ? record.text
                                        : record.coloured) = value;
            }
        }
        if (columnOf[kColNote]) {
            record.note = noteOf(fields[kColNote]);
        }
        if (columnOf[kColState]) {
            record.state = fields[kColState];
        }
        records.push_back(std::move(record));
    }
    CheckRowCount(count);
    return records;
}

}  // namespace

std::optional<TableFormat> TableFormatNamed(std::string_view name) {
    const std::string lower = lowerCase(name);
    if (lower == "json") {
        return TableFormat::Json;
    }
    if (lower == "csv") {
        return TableFormat::Csv;
    }
    if (lower == "po" || lower == "pot") {
        return TableFormat::Po;
    }
    return std::nullopt;
}

std::optional<TableFormat> TableFormatOfExtension(std::string_view fileName) {
    const std::string lower = lowerCase(fileName);
    const auto endsWith = [&](std::string_view end) { return lower.ends_with(end); };
    if (endsWith(".csv")) {
        return TableFormat::Csv;
    }
    if (endsWith(".po") || endsWith(".pot")) {
        return TableFormat::Po;
    }
    if (endsWith(".json")) {
        return TableFormat::Json;
    }
    return std::nullopt;
}

TableFormat TableFormatForFileName(std::string_view fileName) {
    return TableFormatOfExtension(fileName).value_or(TableFormat::Json);
}

std::string TableToCsv(std::span<const StringEntry> rows, const TableContext& context) {
    const CharacterMap& map = MapOf(context);
    const std::span<const StringEntry> original = context.original;
    std::vector<CsvRecord> records;
    const int columns = context.reviews != nullptr ? kCsvColumns : kColumnCount;
    records.push_back(
        {std::vector<std::string>(kCsvCaptions.begin(), kCsvCaptions.begin() + columns)});
    if (!original.empty()) {
        records.back().fields.emplace_back(kOriginalCaption);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        CsvRecord record;
        for (int column = 0; column < kColumnCount; ++column) {
            const std::string text = ColumnText(rows[i], i, column);
            record.fields.push_back(column == kColText ? MarkupToDisplay(text, map)
                                                       : Latin1ToUtf8(text));
        }
        if (context.reviews != nullptr) {
            const RowReview& review = ReviewOf(*context.reviews, i);
            record.fields.push_back(review.note);
            record.fields.emplace_back(ReviewStateName(review.state));
        }
        if (!original.empty()) {
            record.fields.push_back(i < original.size() ? MarkupToDisplay(original[i].Text, map)
                                                        : "");
        }
        records.push_back(std::move(record));
    }
    return WriteCsv(records);
}

std::vector<TableRecord> TableFromCsv(std::string_view text, const TableContext& context) {
    try {
        CsvReader reader(text);
        CsvColumns columnOf{};
        const bool hasHeader = reader.next([&](std::size_t at, std::string&& field) {
            for (int column = 0; column < kCsvColumns; ++column) {
                if (!columnOf[column] && field == kCsvCaptions[column]) {
                    columnOf[column] = at;
                }
            }
        });
        if (!hasHeader) {
            throw TableError("This CSV table is empty: it has not even a header.");
        }
        if (!columnOf[kColNumber]) {
            throw TableError("The CSV table's first line has no \"Number\" column.");
        }
        return csvRecords(reader, columnOf, MapOf(context));
    } catch (const CsvError& e) {
        throw TableError(std::string("This is no CSV table: ") + e.what());
    }
}

std::string TableToPo(std::span<const StringEntry> rows, const TableContext& context) {
    requirePo();
    const CharacterMap& map = MapOf(context);
    const std::span<const StringEntry> original = context.original;
    std::vector<PoEntry> entries;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        PoEntry entry;
        entry.context = std::to_string(i + 1);
        entry.msgid = MarkupToDisplay(rows[i].Text, map);
        std::string preview = DisplayPreviewText(rows[i].Text, map);
        std::replace(preview.begin(), preview.end(), kPreviewLineBreak, '|');
        entry.extractedComments = {"Portrait: " + ColumnText(rows[i], i, kColPortrait),
                                   "Coloured: " + ColumnText(rows[i], i, kColColoured),
                                   poComment("Preview: " + preview)};
        if (i < original.size()) {
            entry.extractedComments.push_back(
                poComment("Original: " + MarkupToDisplay(original[i].Text, map)));
        }
        if (context.reviews != nullptr) {
            const RowReview& review = ReviewOf(*context.reviews, i);
            entry.translatorComments = noteComments(review.note);
            if (review.state == ReviewState::NeedsReview) {
                entry.msgstr = entry.msgid;  // the text to review, as a PO editor shows it
                entry.fuzzy = !entry.msgstr.empty();
            }
        }
        entries.push_back(std::move(entry));
    }
    try {
        return WritePo(entries);
    } catch (const PoError& e) {
        throw TableError(std::string("Cannot write the PO file: ") + e.what());
    }
}

std::vector<TableRecord> TableFromPo(std::string_view text, const TableContext& context) {
    requirePo();
    // Refused before libgettextpo spends memory on them. A header and an
    // obsolete entry for each row may come on top of the rows; the largest
    // table's file has some 10,000 lines.
    const PoCounts counts = CountPo(text);
    if (counts.entries > 2 * kStringCount + 1) {
        throw TableError("This PO file has " + WithThousands(counts.entries) +
                         " entries; a ROM image holds at most " + std::to_string(kStringCount) +
                         " rows.");
    }
    if (counts.lines > kLongestPo) {
        throw TableError("This PO file has " + WithThousands(counts.lines) +
                         " lines; a table's file has far fewer than " + WithThousands(kLongestPo) +
                         ".");
    }
    std::vector<PoEntry> entries;
    try {
        entries = ReadPo(text);
    } catch (const PoError& e) {
        throw TableError(std::string("This is no PO file gettext can read: ") + e.what());
    }
    std::vector<TableRecord> records;
    for (const PoEntry& entry : entries) {
        TableRecord record = recordFor(entry.line, entry.context, "the context ", true);
        // A fuzzy text comes in only where its row can be marked Needs review.
        const bool take = !entry.fuzzy || (context.takeFuzzy && context.reviews != nullptr);
        if (record.row && !entry.msgstr.empty() && take) {
            record.text = gameText(entry.msgstr, record, &MapOf(context));
            record.exportedText = gameText(entry.msgid, record, &MapOf(context));
            record.fuzzy = entry.fuzzy;
        }
        if (!entry.translatorComments.empty()) {
            record.note = noteOf(entry.translatorComments);
        }
        records.push_back(std::move(record));
    }
    return records;
}

std::string TableToText(TableFormat format, std::span<const StringEntry> rows,
                        const TableContext& context) {
    switch (format) {
        case TableFormat::Csv: return TableToCsv(rows, context);
        case TableFormat::Po: return TableToPo(rows, context);
        case TableFormat::Json: break;
    }
    return TableToJson(rows, context);
}

std::string TableToText(TableFormat format, std::span<const StringEntry> rows,
                        std::span<const StringEntry> original) {
    return TableToText(format, rows, TableContext{original});
}

std::vector<TableRecord> TableFromText(TableFormat format, std::string_view text,
                                       const TableContext& context) {
    if (text.size() > kLargestTableFile) {
        throw TableError("The table holds " + BytesText(text.size()) + ", more than the " +
                         BytesText(kLargestTableFile) + " a table may have.");
    }
    switch (format) {
        case TableFormat::Csv: return TableFromCsv(text, context);
        case TableFormat::Po: return TableFromPo(text, context);
        case TableFormat::Json: break;
    }
    return TableFromJson(text, context);
}

}  // namespace qm
