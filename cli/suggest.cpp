// quillmoor-script suggest ROM ROW --original ORIG [--format text|json]
// [--from-po FILE]... [--from-rom ROM2 ORIG2]... [--charmap FILE]: the translations
// of rows whose originals read like the row's original, best first, as the window
// offers them, in display text.
#include <iostream>
#include <nlohmann/json.hpp>

#include "commands.hpp"
#include "errors.hpp"
#include "io.hpp"
#include "project/assistant.hpp"
#include "rom/load.hpp"
#include "rom_files.hpp"
#include "table_file.hpp"
#include "text.hpp"
#include "translation/suggestions.hpp"

namespace qm::cli {

namespace {

// The further sources the options name, in the order given: PO files (their
// texts read with the map), then ROM images.
void addSources(const SuggestOptions& o, TranslationAssistant& assistant) {
    const TableContext context{{}, &assistant.map()};
    for (const std::string& po : o.poFiles) {
        try {
            assistant.addSuggestionSource(po, TranslatedPairs(ReadTable(po, "po", context)));
        } catch (const TableError& e) {
            throw TableError(TableMessage(po, e.what()));
        }
    }
    for (const auto& [rom, original] : o.roms) {
        assistant.addSuggestionSource(rom, TranslatedPairs(LoadRom(rom), LoadRom(original)));
    }
}

// «row 40 (score 85): "Guten Morgen!"», «story.po row 5 (score 60, does not fit): ...»
void printText(const SuggestOptions& o, const TranslationAssistant& index,
               const std::vector<Suggestion>& found) {
    if (found.empty()) {
        std::cout << "no suggestions for row " << o.row << "\n";
    }
    for (const Suggestion& s : found) {
        std::cout << (s.source == 0 ? "" : index.sourceName(s.source) + " ") << "row " << s.row + 1
                  << " (score " << s.score << (s.fits ? "" : ", does not fit")
                  << "): " << Quoted(s.text) << "\n";
    }
}

void printJson(const SuggestOptions& o, const TranslationAssistant& index,
               const std::vector<Suggestion>& found) {
    nlohmann::ordered_json doc;
    doc["row"] = o.row;
    doc["suggestions"] = nlohmann::ordered_json::array();
    for (const Suggestion& s : found) {
        nlohmann::ordered_json item = {
            {"row", s.row + 1}, {"score", s.score}, {"text", s.text}, {"fits", s.fits}};
        if (s.source != 0) {
            item["source"] = index.sourceName(s.source);
        }
        doc["suggestions"].push_back(std::move(item));
    }
    std::cout << doc.dump(2) << "\n";
}

}  // namespace

int runSuggest(const SuggestOptions& o) {
    try {
        const std::vector<StringEntry> rows = LoadRom(o.rom);
        if (o.row == 0 || o.row > rows.size()) {
            Fail("ROW " + std::to_string(o.row) + " is no row of the table (1 to " +
                 std::to_string(rows.size()) + ")");
            return kUsage;
        }
        TranslationAssistant assistant;
        assistant.setMap(CharacterMapFor(o.charmap, o.rom));
        assistant.setOriginal(LoadRom(o.original));
        addSources(o, assistant);
        const std::vector<Suggestion> found = assistant.suggestionsFor(rows, o.row - 1);
        o.format == "json" ? printJson(o, assistant, found) : printText(o, assistant, found);
        return 0;
    } catch (const TableError& e) {
        return Fail(e.what());
    } catch (const FileError& e) {
        return Fail(e.what());
    } catch (const ProjectFileError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
