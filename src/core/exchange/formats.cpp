#include "exchange/formats.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "errors.hpp"
#include "exchange/csv.hpp"
#include "exchange/json.hpp"
#include "exchange/po_file.hpp"
#include "preview/preview.hpp"
#include "text.hpp"

namespace qm {

namespace {

std::string lowerCase(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

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
TableRecord recordFor(int line, const std::string& number, const char* numberIs) {
    TableRecord record;
    record.row = rowNumber(number);
    record.where = "line " + std::to_string(line) +
                   (record.row ? " (row " + std::to_string(*record.row + 1) + ")" : "");
    if (!record.row) {
        record.problems.push_back(numberIs + Quoted(number) + " is no row number");
    }
    return record;
}

// The game text of a UTF-8 field; nothing, and a problem noted, when it has
// characters no game text can hold.
std::optional<std::string> gameText(const std::string& utf8, TableRecord& record) {
    try {
        return Utf8ToLatin1(utf8);
    } catch (const TextError& e) {
        record.problems.emplace_back(e.what());
        return std::nullopt;
    }
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

std::string TableToCsv(std::span<const StringEntry> rows, std::span<const StringEntry> original) {
    std::vector<CsvRecord> records;
    records.push_back({std::vector<std::string>(kColumnCaptions.begin(), kColumnCaptions.end())});
    if (!original.empty()) {
        records.back().fields.emplace_back(kOriginalCaption);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        CsvRecord record;
        for (int column = 0; column < kColumnCount; ++column) {
            record.fields.push_back(Latin1ToUtf8(ColumnText(rows[i], i, column)));
        }
        if (!original.empty()) {
            record.fields.push_back(i < original.size() ? Latin1ToUtf8(original[i].Text) : "");
        }
        records.push_back(std::move(record));
    }
    return WriteCsv(records);
}

std::vector<TableRecord> TableFromCsv(std::string_view text) {
    std::vector<CsvRecord> lines;
    try {
        lines = ReadCsv(text);
    } catch (const CsvError& e) {
        throw TableError(std::string("This is no CSV table: ") + e.what());
    }
    if (lines.empty()) {
        throw TableError("This CSV table is empty: it has not even a header.");
    }
    const std::vector<std::string>& header = lines.front().fields;
    const auto columnOf = [&](int column) -> std::optional<std::size_t> {
        const auto at = std::find(header.begin(), header.end(), kColumnCaptions[column]);
        return at == header.end() ? std::nullopt
                                  : std::optional<std::size_t>(std::size_t(at - header.begin()));
    };
    const auto number = columnOf(kColNumber);
    if (!number) {
        throw TableError("The CSV table's first line has no \"Number\" column.");
    }
    std::vector<TableRecord> records;
    for (auto line = lines.begin() + 1; line != lines.end(); ++line) {
        if (line->fields.empty() || (line->fields.size() == 1 && line->fields[0].empty())) {
            continue;  // an empty line, as spreadsheets leave at the end
        }
        const auto field = [&](std::size_t at) {
            return at < line->fields.size() ? line->fields[at] : std::string();
        };
        TableRecord record = recordFor(line->line, field(*number), "the number ");
        for (int column : {kColPortrait, kColText, kColColoured}) {
            if (const auto at = columnOf(column)) {
                const auto value = gameText(field(*at), record);
                (column == kColPortrait ? record.portrait
                 : column == kColText   ? record.text
                                        : record.coloured) = value;
            }
        }
        records.push_back(std::move(record));
    }
    return records;
}

std::string TableToPo(std::span<const StringEntry> rows, std::span<const StringEntry> original) {
    std::vector<PoEntry> entries;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        PoEntry entry;
        entry.context = std::to_string(i + 1);
        entry.msgid = Latin1ToUtf8(rows[i].Text);
        std::string preview = PreviewText(rows[i].Text);
        std::replace(preview.begin(), preview.end(), kPreviewLineBreak, '|');
        entry.extractedComments = {"Portrait: " + ColumnText(rows[i], i, kColPortrait),
                                   "Coloured: " + ColumnText(rows[i], i, kColColoured),
                                   "Preview: " + Latin1ToUtf8(preview)};
        if (i < original.size()) {
            entry.translatorComments = {"Original: " + Latin1ToUtf8(original[i].Text)};
        }
        entries.push_back(std::move(entry));
    }
    return WritePo(entries);
}

std::vector<TableRecord> TableFromPo(std::string_view text) {
    std::vector<PoEntry> entries;
    try {
        entries = ReadPo(text);
    } catch (const PoError& e) {
        throw TableError(std::string("This is no PO file gettext can read: ") + e.what());
    }
    std::vector<TableRecord> records;
    for (const PoEntry& entry : entries) {
        TableRecord record = recordFor(entry.line, entry.context, "the context ");
        if (record.row && !entry.msgstr.empty() && !entry.fuzzy) {
            record.text = gameText(entry.msgstr, record);
            record.exportedText = gameText(entry.msgid, record);
        }
        records.push_back(std::move(record));
    }
    return records;
}

std::string TableToText(TableFormat format, std::span<const StringEntry> rows,
                        std::span<const StringEntry> original) {
    switch (format) {
        case TableFormat::Csv: return TableToCsv(rows, original);
        case TableFormat::Po: return TableToPo(rows, original);
        case TableFormat::Json: break;
    }
    return TableToJson(rows, original);
}

std::vector<TableRecord> TableFromText(TableFormat format, std::string_view text) {
    switch (format) {
        case TableFormat::Csv: return TableFromCsv(text);
        case TableFormat::Po: return TableFromPo(text);
        case TableFormat::Json: break;
    }
    return TableFromJson(text);
}

}  // namespace qm
