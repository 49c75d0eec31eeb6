// quillmoor-script check ROM [TABLE] [--original ORIG [--glossary FILE]]
// [--spelling LANG [--words FILE]] [--format text|json] [--fail-on warnings|errors]:
// every line that runs past the game's text box, as the preview marks it, with a
// table every row that import would refuse, and as warnings the checks against
// the original, the glossary's and spelling's, and a wrong header checksum. A
// translation project can run it in its own CI.
#include <iostream>
#include <nlohmann/json.hpp>

#include "commands.hpp"
#include "errors.hpp"
#include "io.hpp"
#include "rom/internal_header.hpp"
#include "rom/load.hpp"
#include "table_file.hpp"
#include "text.hpp"
#include "translation/checks.hpp"
#include "translation/glossary.hpp"
#include "translation/row_state.hpp"
#include "translation/spelling.hpp"

namespace qm::cli {

namespace {

// A warning of a row (0-based), or of the whole image without one.
struct Warned {
    std::optional<std::size_t> row;
    std::string check;
    std::string message;
    std::string word;  // spelling's
};

struct Findings {
    std::vector<std::pair<std::size_t, OverflowLine>> overflows;  // 0-based row and line
    std::size_t overflowingRows = 0;
    std::vector<TableRefusal> refused;
    std::vector<Warned> warnings;
};

// The header's checksum as the file stands (an import would change it again).
void checkHeader(const std::string& rom, Findings& found) {
    const auto state = ReadHeaderChecksum(rom);
    if (state && !state->right()) {
        found.warnings.push_back({std::nullopt, "checksum", ChecksumText(*state), ""});
    }
}

void printText(const Findings& found, bool withTable, bool withOriginal) {
    for (const auto& [row, line] : found.overflows) {
        std::cout << "row " << row + 1 << ", line " << line.line << ": "
                  << Counted(line.over, "character", "characters")
                  << " over: " << Quoted(Latin1ToUtf8(line.text)) << "\n";
    }
    for (const TableRefusal& refusal : found.refused) {
        std::cout << refusal.message << "\n";
    }
    for (const Warned& w : found.warnings) {
        std::cout << (w.row ? "row " + std::to_string(*w.row + 1) + ": " : "") << w.check << ": "
                  << w.message << "\n";
    }
    std::cout << Counted(found.overflowingRows, "row overflows", "rows overflow");
    if (withTable) {
        std::cout << "; " << Counted(found.refused.size(), "row", "rows") << " would be refused";
    }
    if (withOriginal || !found.warnings.empty()) {
        std::cout << "; " << Counted(found.warnings.size(), "warning", "warnings");
    }
    std::cout << "\n";
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
    doc["refused"] = nlohmann::ordered_json::array();
    for (const TableRefusal& refusal : found.refused) {
        nlohmann::ordered_json item;
        item["row"] = refusal.row ? nlohmann::ordered_json(*refusal.row + 1) : nullptr;
        item["message"] = refusal.message;
        doc["refused"].push_back(std::move(item));
    }
    doc["warnings"] = nlohmann::ordered_json::array();
    for (const Warned& w : found.warnings) {
        nlohmann::ordered_json item = {
            {"row", w.row ? nlohmann::ordered_json(*w.row + 1) : nullptr},
            {"check", w.check},
            {"message", w.message}};
        if (!w.word.empty()) {
            item["word"] = w.word;
        }
        doc["warnings"].push_back(std::move(item));
    }
    std::cout << doc.dump(2) << "\n";
}

// The rows as importing the table would leave them (or the ROM image's own), and
// the rows import would refuse.
std::vector<StringEntry> checkedRows(const CheckOptions& o, Findings& found) {
    std::vector<StringEntry> rows = LoadRom(o.rom);
    if (o.table.empty()) {
        return rows;
    }
    TableImport checked = CheckTable(rows, ReadTable(o.table));
    for (const std::string& note : checked.notes) {
        std::cerr << "quillmoor-script: note: " << note << "\n";
    }
    found.refused = std::move(checked.refusals);
    return std::move(checked.rows);
}

void findOverflows(std::span<const StringEntry> rows, Findings& found) {
    const std::vector<RowState> states = StatesOf(rows, {});
    for (std::size_t k = 0; k < states.size(); ++k) {
        for (const OverflowLine& line : states[k].overflow) {
            found.overflows.emplace_back(k, line);
        }
        found.overflowingRows += states[k].overflows() ? 1 : 0;
    }
}

// The glossary and the spell checker the options ask for, loaded once.
struct Aids {
    std::optional<GlossaryMatcher> glossary;
    std::optional<SpellChecker> spelling;

    explicit Aids(const CheckOptions& o) {
        if (!o.glossary.empty()) {
            glossary.emplace(ReadGlossary(o.glossary));
        }
        if (!o.spelling.empty()) {
            spelling.emplace(o.spelling);
            if (!o.words.empty()) {
                spelling->setProjectWords(ReadWordList(o.words));
            }
        }
    }
    CheckAids checkAids() const {
        return {glossary ? &*glossary : nullptr, spelling ? &*spelling : nullptr, nullptr};
    }
};

void findWarnings(const CheckOptions& o, std::span<const StringEntry> rows, Findings& found) {
    const Aids aids(o);
    if (o.original.empty() && !aids.spelling) {
        return;
    }
    const std::vector<StringEntry> original =
        o.original.empty() ? std::vector<StringEntry>() : LoadRom(o.original);
    for (Warning& w : TranslationChecks(original, aids.checkAids()).ofTable(rows)) {
        found.warnings.push_back({w.row, std::string(CheckName(w.check)), std::move(w.message),
                                  std::move(w.misspelt.word)});
    }
}

}  // namespace

int runCheck(const CheckOptions& o) {
    try {
        Findings found;
        const std::vector<StringEntry> rows = checkedRows(o, found);
        findOverflows(rows, found);
        findWarnings(o, rows, found);
        checkHeader(o.rom, found);
        o.format == "json"
            ? printJson(found)
            : printText(found, !o.table.empty(), !o.original.empty() || !o.spelling.empty());
        const bool errors = !found.overflows.empty() || !found.refused.empty();
        return errors || (o.failOn != "errors" && !found.warnings.empty()) ? kFailed : 0;
    } catch (const TableError& e) {
        return Fail(TableMessage(o.table, e.what()));
    } catch (const FileError& e) {
        return Fail(e.what());
    } catch (const ProjectFileError& e) {
        return Fail(e.what());
    } catch (const SpellingError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
