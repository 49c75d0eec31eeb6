// quillmoor-script replace ROM FIND REPLACEMENT: Replace All from the command
// line, by the window's rules (tokens are units; a replacement the game cannot
// take is refused before anything is written), saved as import saves.
#include <iostream>
#include <span>

#include "commands.hpp"
#include "errors.hpp"
#include "io.hpp"
#include "markup/display.hpp"
#include "project/project_file.hpp"
#include "rom/load.hpp"
#include "rom_files.hpp"
#include "rows.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "text.hpp"
#include "translation/replace.hpp"

namespace qm::cli {

int runReplace(const ReplaceOptions& o) {
    if (o.find.empty()) {
        Fail("FIND is empty; give the text to replace");
        return kUsage;
    }
    try {
        CheckRomFile(o.rom, o.copy || o.dryRun ? RomAccess::kReadOnly : RomAccess::kReadWrite);
        const CharacterMap map = CharacterMapFor(o.charmap, o.rom);
        const LoadedRom loaded = LoadRomFile(o.rom);
        const std::vector<StringEntry>& rows = loaded.rows;
        const auto scope = RowsOption(o.rows, rows.size());
        if (!scope) {
            return kUsage;
        }
        const SearchPattern pattern{DisplayToMarkup(o.find, map), o.matchCase, o.wholeWord, &map};
        const Replacement done =
            ReplaceAll(rows, *scope, pattern, DisplayToMarkup(o.replacement, map));
        std::vector<StringEntry> edited = rows;
        std::vector<std::size_t> changed;
        for (const ReplacedRow& r : done.rows) {
            edited[r.index] = r.row;
            changed.push_back(r.index);
        }
        const std::string copyPath =
            changed.empty() ? "" : SaveEditedRows(o.rom, loaded, edited, changed, o.copy, o.dryRun);
        for (const ReplacedRow& r : o.quiet ? std::span<const ReplacedRow>() : done.rows) {
            std::cout << "row " << r.index + 1 << ": "
                      << Quoted(MarkupToDisplay(rows[r.index].Text, map)) << " -> "
                      << Quoted(MarkupToDisplay(r.row.Text, map)) << "\n";
        }
        std::cout << ReplacedText(done) << (copyPath.empty() ? "" : "\n" + Escaped(copyPath))
                  << "\n";
        return 0;
    } catch (const ReplaceError& e) {
        return Fail(e.what());
    } catch (const TextError& e) {
        return Fail(std::string("The text to find or the replacement: ") + e.what());
    } catch (const SaveError& e) {
        return Fail(e.what());
    } catch (const FileError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
