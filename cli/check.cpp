// quillmoor-script check ROM [TABLE] [--format text|json]: every line that runs
// past the game's text box, as the preview marks it, every row whose bytes in the
// ROM image the game misreads, and with a table every row that import would
// refuse and whether the save would refuse the table as a whole. A translation
// project can run it in its own CI.
#include <iostream>
#include <nlohmann/json.hpp>

#include "commands.hpp"
#include "errors.hpp"
#include "io.hpp"
#include "rom/load.hpp"
#include "save/budget.hpp"
#include "save/writer.hpp"
#include "table_file.hpp"
#include "text.hpp"
#include "translation/row_state.hpp"

namespace qm::cli {

namespace {

struct Findings {
    std::vector<std::pair<std::size_t, OverflowLine>> overflows;  // 0-based row and line
    std::size_t overflowingRows = 0;
    std::vector<TableRefusal> misread;  // rows kept as stored that the game misreads
    std::vector<TableRefusal> refused;
    std::optional<std::string> saveRefusal;  // why the save would refuse the whole table

    bool any() const {
        return !overflows.empty() || !misread.empty() || !refused.empty() || saveRefusal;
    }
};

void printText(const Findings& found, bool withTable) {
    for (const auto& [row, line] : found.overflows) {
        std::cout << "row " << row + 1 << ", line " << line.line << ": "
                  << Counted(line.over, "character", "characters")
                  << " over: " << Quoted(Latin1ToUtf8(line.text)) << "\n";
    }
    for (const auto* list : {&found.misread, &found.refused}) {
        for (const TableRefusal& refusal : *list) {
            std::cout << refusal.message << "\n";
        }
    }
    if (found.saveRefusal) {
        std::cout << *found.saveRefusal << "\n";
    }
    std::cout << Counted(found.overflowingRows, "row overflows", "rows overflow");
    if (!found.misread.empty()) {
        std::cout << "; " << Counted(found.misread.size(), "row is", "rows are")
                  << " misread by the game";
    }
    if (withTable) {
        std::cout << "; " << Counted(found.refused.size(), "row", "rows") << " would be refused";
    }
    if (found.saveRefusal) {
        std::cout << "; the whole import would be refused";
    }
    std::cout << "\n";
}

nlohmann::ordered_json listJson(const std::vector<TableRefusal>& list) {
    nlohmann::ordered_json items = nlohmann::ordered_json::array();
    for (const TableRefusal& refusal : list) {
        nlohmann::ordered_json item;
        item["row"] = refusal.row ? nlohmann::ordered_json(*refusal.row + 1) : nullptr;
        item["message"] = refusal.message;
        items.push_back(std::move(item));
    }
    return items;
}

void printJson(const Findings& found) {
    nlohmann::ordered_json doc;
    doc["overflows"] = nlohmann::ordered_json::array();
    for (const auto& [row, line] : found.overflows) {
        doc["overflows"].push_back({{"row", row + 1},
                                    {"line", line.line},
                                    {"text", Latin1ToUtf8(line.text)},
                                    {"over", line.over}});
    }
    std::vector<TableRefusal> refused = found.refused;
    if (found.saveRefusal) {  // a refusal of no row: the table as a whole
        refused.push_back({std::nullopt, *found.saveRefusal});
    }
    doc["refused"] = listJson(refused);
    doc["misread"] = listJson(found.misread);
    std::cout << doc.dump(2) << "\n";
}

// What import would make of the table: the rows it takes, the refused ones, and
// whether the save would take the result at all.
std::vector<StringEntry> importInto(const std::vector<StringEntry>& rows, const std::string& table,
                                    Findings& found) {
    TableImport checked = CheckTable(rows, ReadTable(table));
    for (const std::string& note : checked.notes) {
        std::cerr << "quillmoor-script: note: " << note << "\n";
    }
    found.refused = std::move(checked.refusals);
    try {
        LayOutRows(checked.rows);
    } catch (const SaveError& e) {
        found.saveRefusal = e.what();
    }
    return std::move(checked.rows);
}

}  // namespace

int runCheck(const std::string& rom, const std::string& table, const std::string& format) {
    try {
        Findings found;
        std::vector<StringEntry> rows = LoadRom(rom);
        if (!table.empty()) {
            rows = importInto(rows, table, found);
        }
        const std::vector<RowState> states = StatesOf(rows, {});
        for (std::size_t k = 0; k < states.size(); ++k) {
            for (const OverflowLine& line : states[k].overflow) {
                found.overflows.emplace_back(k, line);
            }
            found.overflowingRows += states[k].overflows() ? 1 : 0;
            if (const auto problem = StoredProblem(rows[k])) {
                found.misread.push_back({k, "row " + std::to_string(k + 1) + ", character " +
                                                std::to_string(problem->position + 1) + ": " +
                                                problem->reason});
            }
        }
        format == "json" ? printJson(found) : printText(found, !table.empty());
        return found.any() ? kFailed : 0;
    } catch (const TableError& e) {
        return Fail(TableMessage(table, e.what()));
    } catch (const FileError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
