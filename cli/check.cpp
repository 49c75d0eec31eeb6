// quillmoor-script check ROM [TABLE] [--original ORIG [--glossary FILE]]
// [--spelling LANG [--words FILE]] [--format text|json] [--fail-on warnings|errors]
// [--state STATE] [--charmap FILE]: every line that runs past the game's text box,
// as the preview marks it, every row whose bytes in the ROM image the game
// misreads, with a table every row that import would refuse and whether the save
// would refuse the table as a whole, as warnings the checks against the original,
// the glossary's and spelling's (chosen in NAME.qmproj unless the options say
// otherwise, and without the warnings it ignores), and a wrong header checksum,
// and the rows in the chosen review states. A translation project can run it in
// its own CI.
#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>

#include "commands.hpp"
#include "errors.hpp"
#include "io.hpp"
#include "project/assistant.hpp"
#include "project/project_file.hpp"
#include "rom/internal_header.hpp"
#include "rom/load.hpp"
#include "rom_files.hpp"
#include "save/budget.hpp"
#include "save/writer.hpp"
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
    std::vector<TableRefusal> misread;  // rows kept as stored that the game misreads
    std::vector<TableRefusal> refused;
    std::optional<std::string> saveRefusal;  // why the save would refuse the whole table
    std::vector<Warned> warnings;
    std::size_t ignored = 0;          // warnings the project file ignores, left out
    std::vector<ReviewState> chosen;  // --state
    std::vector<std::pair<std::size_t, RowReview>> marked;  // rows in a chosen state

    bool errors() const {
        return !overflows.empty() || !misread.empty() || !refused.empty() || saveRefusal;
    }
};

// The header's checksum as the file stands (an import would change it again).
void checkHeader(const std::string& rom, Findings& found) {
    const auto state = ReadHeaderChecksum(rom);
    if (state && !state->right()) {
        found.warnings.push_back({std::nullopt, "checksum", ChecksumText(*state), ""});
    }
}

// A note on one line: its lines joined by " | ", as previews are.
std::string oneLine(const std::string& note) {
    std::string line;
    for (char c : note) {
        line += c == '\n' ? std::string(" | ") : std::string(1, c);
    }
    return line;
}

void printStates(const Findings& found) {
    for (const auto& [row, review] : found.marked) {
        std::cout << "row " << row + 1 << ": " << ReviewStateName(review.state)
                  << (review.note.empty() ? "" : ": " + Quoted(oneLine(review.note))) << "\n";
    }
}

void printText(const Findings& found, bool withTable, bool withOriginal) {
    for (const auto& [row, line] : found.overflows) {
        std::cout << "row " << row + 1 << ", line " << line.line << ": "
                  << Counted(line.over, "character", "characters") << " over: " << Quoted(line.text)
                  << "\n";
    }
    for (const auto* list : {&found.misread, &found.refused}) {
        for (const TableRefusal& refusal : *list) {
            std::cout << refusal.message << "\n";
        }
    }
    if (found.saveRefusal) {
        std::cout << *found.saveRefusal << "\n";
    }
    for (const Warned& w : found.warnings) {
        std::cout << (w.row ? "row " + std::to_string(*w.row + 1) + ": " : "") << w.check << ": "
                  << w.message << "\n";
    }
    printStates(found);
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
    if (withOriginal || !found.warnings.empty() || found.ignored > 0) {
        std::cout << "; " << Counted(found.warnings.size(), "warning", "warnings");
    }
    if (found.ignored > 0) {
        std::cout << " (" << found.ignored << " ignored)";
    }
    if (!found.chosen.empty()) {
        std::cout << "; " << Counted(found.marked.size(), "row", "rows") << " marked ";
        for (std::size_t i = 0; i < found.chosen.size(); ++i) {
            std::cout << (i == 0 ? "" : " or ") << ReviewStateName(found.chosen[i]);
        }
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
        doc["overflows"].push_back(
            {{"row", row + 1}, {"line", line.line}, {"text", line.text}, {"over", line.over}});
    }
    std::vector<TableRefusal> refused = found.refused;
    if (found.saveRefusal) {  // a refusal of no row: the table as a whole
        refused.push_back({std::nullopt, *found.saveRefusal});
    }
    doc["refused"] = listJson(refused);
    doc["misread"] = listJson(found.misread);
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
    doc["ignored"] = found.ignored;
    if (!found.chosen.empty()) {
        doc["states"] = nlohmann::ordered_json::array();
        for (const auto& [row, review] : found.marked) {
            doc["states"].push_back(
                {{"row", row + 1}, {"state", ReviewStateKey(review.state)}, {"note", review.note}});
        }
    }
    std::cout << doc.dump(2) << "\n";
}

// The rows as importing the table would leave them (or the ROM image's own), the
// rows import would refuse, and whether the save would take the result at all.
std::vector<StringEntry> checkedRows(const CheckOptions& o, const TableContext& context,
                                     Project& project, Findings& found) {
    std::vector<StringEntry> rows = LoadRom(o.rom);
    if (o.table.empty()) {
        return rows;
    }
    TableImport checked = CheckTable(rows, ReadTable(o.table, "", context), context);
    project.reviews = std::move(checked.reviews);
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

void findOverflows(std::span<const StringEntry> rows, const CharacterMap& map, Findings& found) {
    const std::vector<RowState> states = StatesOf(rows, {}, map);
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
}

// The glossary and the spell checker the options ask for, else those the project
// file chooses, loaded once. The glossary needs an original to find its terms in.
struct Aids {
    std::optional<GlossaryMatcher> glossary;
    std::optional<SpellChecker> spelling;

    Aids(const CheckOptions& o, const Project& project) {
        const std::string path = o.glossary.empty() ? GlossaryPathOf(project, o.rom) : o.glossary;
        if (!path.empty() && !o.original.empty()) {
            try {
                glossary.emplace(ReadGlossary(path));
            } catch (const FileError& e) {  // say where a path nobody typed comes from
                throw o.glossary.empty()
                    ? FileError("The glossary that " + Quoted(ProjectPathFor(o.rom)) +
                                " names: " + e.what())
                    : e;
            }
        }
        const std::string& language = o.spelling.empty() ? project.spellingLanguage : o.spelling;
        if (o.spelling.empty() && !language.empty() && !SpellingAvailable()) {
            std::cerr << "quillmoor-script: note: spelling (" << language
                      << " in the project file) is not checked: this build has no Hunspell\n";
            return;
        }
        if (!language.empty()) {
            spelling.emplace(language);
            spelling->setProjectWords(o.words.empty()
                                          ? std::vector<std::string>(project.projectWords.begin(),
                                                                     project.projectWords.end())
                                          : ReadWordList(o.words));
        }
    }
};

void findWarnings(const CheckOptions& o, const CharacterMap& map, const Project& project,
                  std::span<const StringEntry> rows, Findings& found) {
    const Aids aids(o, project);
    if (o.original.empty() && !aids.spelling) {
        return;
    }
    const std::vector<StringEntry> original =
        o.original.empty() ? std::vector<StringEntry>() : LoadRom(o.original);
    const CheckAids checkAids{aids.glossary ? &*aids.glossary : nullptr,
                              aids.spelling ? &*aids.spelling : nullptr, &map};
    const IgnoredWarnings ignored = IgnoredWarningsOf(project);
    for (Warning& w : TranslationChecks(original, checkAids).ofTable(rows)) {
        if (ignored.contains({w.row, w.check})) {
            ++found.ignored;
            continue;
        }
        found.warnings.push_back({w.row, std::string(CheckName(w.check)), std::move(w.message),
                                  std::move(w.misspelt.word)});
    }
}

}  // namespace

int runCheck(const CheckOptions& o) {
    try {
        Findings found;
        const CharacterMap map = CharacterMapFor(o.charmap, o.rom);
        Project project = ReadProjectBeside(o.rom);
        const TableContext context{{}, &map, &project.reviews};
        const std::vector<StringEntry> rows = checkedRows(o, context, project, found);
        findOverflows(rows, map, found);
        for (const std::string& state : o.states) {
            found.chosen.push_back(ReviewStateNamed(state).value());
        }
        for (const auto& [row, review] : project.reviews) {
            if (std::find(found.chosen.begin(), found.chosen.end(), review.state) !=
                found.chosen.end()) {
                found.marked.emplace_back(row, review);
            }
        }
        findWarnings(o, map, project, rows, found);
        checkHeader(o.rom, found);
        o.format == "json" ? printJson(found)
                           : printText(found, !o.table.empty(),
                                       !o.original.empty() || !o.spelling.empty() ||
                                           !project.spellingLanguage.empty());
        const bool warned = !found.warnings.empty() || !found.marked.empty();
        return found.errors() || (o.failOn != "errors" && warned) ? kFailed : 0;
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
