// quillmoor-script check ROM [TABLE] [--format text|json]: every line that runs
// past the game's text box, as the preview marks it, and with a table every row
// that import would refuse. A translation project can run it in its own CI.
#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>

#include "commands.hpp"
#include "errors.hpp"
#include "io.hpp"
#include "project/project_file.hpp"
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
    std::vector<ReviewState> chosen;                        // --state
    std::vector<std::pair<std::size_t, RowReview>> marked;  // rows in a chosen state
};

// A note on one line: its lines joined by " | ", as previews are.
std::string oneLine(const std::string& note) {
    std::string line;
    for (char c : note) {
        line += c == '\n' ? std::string(" | ") : std::string(1, c);
    }
    return line;
}

void printText(const Findings& found, bool withTable) {
    for (const auto& [row, line] : found.overflows) {
        std::cout << "row " << row + 1 << ", line " << line.line << ": "
                  << Counted(line.over, "character", "characters") << " over: " << Quoted(line.text)
                  << "\n";
    }
    for (const TableRefusal& refusal : found.refused) {
        std::cout << refusal.message << "\n";
    }
    for (const auto& [row, review] : found.marked) {
        std::cout << "row " << row + 1 << ": " << ReviewStateName(review.state)
                  << (review.note.empty() ? "" : ": " + Quoted(oneLine(review.note))) << "\n";
    }
    std::cout << Counted(found.overflowingRows, "row overflows", "rows overflow");
    if (withTable) {
        std::cout << "; " << Counted(found.refused.size(), "row", "rows") << " would be refused";
    }
    if (!found.chosen.empty()) {
        std::cout << "; " << Counted(found.marked.size(), "row", "rows") << " marked ";
        for (std::size_t i = 0; i < found.chosen.size(); ++i) {
            std::cout << (i == 0 ? "" : " or ") << ReviewStateName(found.chosen[i]);
        }
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
    if (!found.chosen.empty()) {
        doc["states"] = nlohmann::ordered_json::array();
        for (const auto& [row, review] : found.marked) {
            doc["states"].push_back(
                {{"row", row + 1}, {"state", ReviewStateKey(review.state)}, {"note", review.note}});
        }
    }
    std::cout << doc.dump(2) << "\n";
}

}  // namespace

int runCheck(const CheckOptions& o) {
    try {
        Findings found;
        const CharacterMap map = CharacterMapFor(o.charmap, o.rom);
        Project project = ReadProjectBeside(o.rom);
        const TableContext context{{}, &map, &project.reviews};
        std::vector<StringEntry> rows = LoadRom(o.rom);
        if (!o.table.empty()) {
            // What import would make of the table: the rows it takes, and the refused ones.
            TableImport checked = CheckTable(rows, ReadTable(o.table, "", context), context);
            for (const std::string& note : checked.notes) {
                std::cerr << "quillmoor-script: note: " << note << "\n";
            }
            rows = std::move(checked.rows);
            found.refused = std::move(checked.refusals);
            project.reviews = std::move(checked.reviews);
        }
        const std::vector<RowState> states = StatesOf(rows, {}, map);
        for (std::size_t k = 0; k < states.size(); ++k) {
            for (const OverflowLine& line : states[k].overflow) {
                found.overflows.emplace_back(k, line);
            }
            found.overflowingRows += states[k].overflows() ? 1 : 0;
        }
        for (const std::string& state : o.states) {
            found.chosen.push_back(ReviewStateNamed(state).value());
        }
        for (const auto& [row, review] : project.reviews) {
            if (std::find(found.chosen.begin(), found.chosen.end(), review.state) !=
                found.chosen.end()) {
                found.marked.emplace_back(row, review);
            }
        }
        o.format == "json" ? printJson(found) : printText(found, !o.table.empty());
        return found.overflows.empty() && found.refused.empty() && found.marked.empty() ? 0
                                                                                        : kFailed;
    } catch (const TableError& e) {
        return Fail(TableMessage(o.table, e.what()));
    } catch (const FileError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
