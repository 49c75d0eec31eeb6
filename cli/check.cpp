// quillmoor-script check ROM [TABLE] [--format text|json]: every line that runs
// past the game's text box, as the preview marks it, and with a table every row
// that import would refuse. A translation project can run it in its own CI.
#include <iostream>
#include <nlohmann/json.hpp>

#include "commands.hpp"
#include "errors.hpp"
#include "io.hpp"
#include "rom/load.hpp"
#include "rom_files.hpp"
#include "table_file.hpp"
#include "text.hpp"
#include "translation/row_state.hpp"

namespace qm::cli {

namespace {

struct Findings {
    std::vector<std::pair<std::size_t, OverflowLine>> overflows;  // 0-based row and line
    std::size_t overflowingRows = 0;
    std::vector<TableRefusal> refused;
};

void printText(const Findings& found, bool withTable) {
    for (const auto& [row, line] : found.overflows) {
        std::cout << "row " << row + 1 << ", line " << line.line << ": "
                  << Counted(line.over, "character", "characters") << " over: " << Quoted(line.text)
                  << "\n";
    }
    for (const TableRefusal& refusal : found.refused) {
        std::cout << refusal.message << "\n";
    }
    std::cout << Counted(found.overflowingRows, "row overflows", "rows overflow");
    if (withTable) {
        std::cout << "; " << Counted(found.refused.size(), "row", "rows") << " would be refused";
    }
    std::cout << "\n";
}

void printJson(const Findings& found) {
    nlohmann::ordered_json doc;
    doc["overflows"] = nlohmann::ordered_json::array();
    for (const auto& [row, line] : found.overflows) {
        doc["overflows"].push_back(
            {{"row", row + 1}, {"line", line.line}, {"text", line.text}, {"over", line.over}});
    }
    doc["refused"] = nlohmann::ordered_json::array();
    for (const TableRefusal& refusal : found.refused) {
        nlohmann::ordered_json item;
        item["row"] = refusal.row ? nlohmann::ordered_json(*refusal.row + 1) : nullptr;
        item["message"] = refusal.message;
        doc["refused"].push_back(std::move(item));
    }
    std::cout << doc.dump(2) << "\n";
}

}  // namespace

int runCheck(const std::string& rom, const std::string& table, const std::string& format,
             const std::string& charmap) {
    try {
        Findings found;
        const CharacterMap map = CharacterMapFor(charmap, rom);
        const TableContext context{{}, &map};
        std::vector<StringEntry> rows = LoadRom(rom);
        if (!table.empty()) {
            // What import would make of the table: the rows it takes, and the refused ones.
            TableImport checked = CheckTable(rows, ReadTable(table, "", context), context);
            for (const std::string& note : checked.notes) {
                std::cerr << "quillmoor-script: note: " << note << "\n";
            }
            rows = std::move(checked.rows);
            found.refused = std::move(checked.refusals);
        }
        const std::vector<RowState> states = StatesOf(rows, {}, map);
        for (std::size_t k = 0; k < states.size(); ++k) {
            for (const OverflowLine& line : states[k].overflow) {
                found.overflows.emplace_back(k, line);
            }
            found.overflowingRows += states[k].overflows() ? 1 : 0;
        }
        format == "json" ? printJson(found) : printText(found, !table.empty());
        return found.overflows.empty() && found.refused.empty() ? 0 : kFailed;
    } catch (const TableError& e) {
        return Fail(TableMessage(table, e.what()));
    } catch (const FileError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
