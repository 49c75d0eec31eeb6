// quillmoor-script diff ORIGINAL MODIFIED [--format text|json|csv]: the rows that
// differ, then their count. MODIFIED may be a table file: it then stands for what
// importing it into ORIGINAL would give, so a reviewer sees a translation's
// changes before anyone imports it.
#include <iostream>
#include <nlohmann/json.hpp>

#include "commands.hpp"
#include "errors.hpp"
#include "exchange/csv.hpp"
#include "exchange/formats.hpp"
#include "io.hpp"
#include "markup/display.hpp"
#include "rom/load.hpp"
#include "rom_files.hpp"
#include "table_file.hpp"
#include "text.hpp"
#include "translation/diff.hpp"

namespace qm::cli {

namespace {

std::string portraitOf(const std::optional<StringEntry>& row) {
    return row ? Latin1ToUtf8(GetPortraitName(row->Portrait)) : "";
}

std::string colourOf(const std::optional<StringEntry>& row) {
    return row ? std::string(ColourName(row->Coloured)) : "";
}

std::string textOf(const std::optional<StringEntry>& row, const CharacterMap& map) {
    return row ? MarkupToDisplay(row->Text, map) : "";
}

std::string joined(const std::vector<std::string>& lines, std::string_view between) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : std::string(between)) + line;
    }
    return text;
}

void printChange(const char* what, bool changed, const std::string& before,
                 const std::string& after) {
    if (changed) {
        std::cout << "  " << what << ": " << before << " -> " << after << "\n";
    }
}

void printText(const std::vector<RowDifference>& differences, const CharacterMap& map) {
    const auto quoted = [](const std::optional<StringEntry>& row, const std::string& text) {
        return row ? Quoted(text) : std::string("(no such row)");
    };
    for (const RowDifference& d : differences) {
        std::cout << "row " << d.row + 1 << "\n";
        printChange("portrait", d.portraitChanged(), quoted(d.before, portraitOf(d.before)),
                    quoted(d.after, portraitOf(d.after)));
        printChange("coloured", d.colourChanged(), quoted(d.before, colourOf(d.before)),
                    quoted(d.after, colourOf(d.after)));
        printChange("text", d.textChanged(), quoted(d.before, textOf(d.before, map)),
                    quoted(d.after, textOf(d.after, map)));
        printChange("preview", d.textChanged(), quoted(d.before, joined(d.previewBefore, " | ")),
                    quoted(d.after, joined(d.previewAfter, " | ")));
    }
    std::cout << Counted(differences.size(), "row differs", "rows differ") << "\n";
}

nlohmann::ordered_json side(const std::optional<StringEntry>& row,
                            const std::vector<std::string>& preview, const CharacterMap& map) {
    if (!row) {
        return nullptr;
    }
    nlohmann::ordered_json lines = nlohmann::ordered_json::array();
    for (const std::string& line : preview) {
        lines.push_back(line);
    }
    return {{"portrait", portraitOf(row)},
            {"coloured", colourOf(row)},
            {"text", textOf(row, map)},
            {"preview", std::move(lines)}};
}

void printJson(const std::vector<RowDifference>& differences, const CharacterMap& map) {
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (const RowDifference& d : differences) {
        rows.push_back({{"number", d.row + 1},
                        {"before", side(d.before, d.previewBefore, map)},
                        {"after", side(d.after, d.previewAfter, map)}});
    }
    nlohmann::ordered_json doc;
    doc["differences"] = std::move(rows);
    doc["count"] = differences.size();
    std::cout << doc.dump(2) << "\n";
}

// One record a row; the count is the number of records.
void printCsv(const std::vector<RowDifference>& differences, const CharacterMap& map) {
    std::vector<CsvRecord> records = {
        {{"Number", "Portrait Before", "Portrait After", "Coloured Before", "Coloured After",
          "Text Before", "Text After", "Preview Before", "Preview After"}}};
    for (const RowDifference& d : differences) {
        records.push_back(
            {{std::to_string(d.row + 1), portraitOf(d.before), portraitOf(d.after),
              colourOf(d.before), colourOf(d.after), textOf(d.before, map), textOf(d.after, map),
              joined(d.previewBefore, "|"), joined(d.previewAfter, "|")}});
    }
    std::cout << WriteCsv(records);
}

}  // namespace

int runDiff(const std::string& original, const std::string& modified, const std::string& format,
            const std::string& charmap) {
    std::vector<TableRefusal> refused;
    try {
        const bool table = TableFormatOfExtension(modified).has_value();
        const CharacterMap map = CharacterMapFor(charmap, table ? original : modified);
        const TableContext context{{}, &map};
        const std::vector<StringEntry> before = LoadRom(original);
        std::vector<StringEntry> after;
        if (table) {
            TableImport imported = CheckTable(before, ReadTable(modified, "", context), context);
            after = std::move(imported.rows);
            refused = std::move(imported.refusals);
        } else {
            after = LoadRom(modified);
        }
        const std::vector<RowDifference> differences = DiffTables(before, after, map);
        format == "json"  ? printJson(differences, map)
        : format == "csv" ? printCsv(differences, map)
                          : printText(differences, map);
        if (!refused.empty()) {
            return Fail(TableMessage(modified, RefusalMessage(refused)));
        }
        return differences.empty() ? 0 : kFailed;
    } catch (const TableError& e) {
        return Fail(TableMessage(modified, e.what()));
    } catch (const FileError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
