// quillmoor-script reflow ROM [--rows LIST] [--dry-run] [--copy] [--quiet]
// [--charmap FILE]: Reflow of every row that overflows (or of those listed), saved
// as replace saves; rows that fit stay as they are, and rows that still do not fit
// are reported. A mapped character takes one column, as in the preview.
#include <iostream>

#include "commands.hpp"
#include "errors.hpp"
#include "io.hpp"
#include "markup/display.hpp"
#include "preview/preview.hpp"
#include "rom/load.hpp"
#include "rom_files.hpp"
#include "rows.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "text.hpp"
#include "translation/reflow.hpp"

namespace qm::cli {

namespace {

// «row 17: needs 3 lines; "Rosalindsdiarydayforty" is longer than 20 characters»
std::string unfitText(const ReflowedRow& r, const CharacterMap& map) {
    std::string text = "row " + std::to_string(r.index + 1) + ": ";
    if (r.lines > kPreviewLineCount) {
        text += "needs " + std::to_string(r.lines) + " lines" + (r.longWord.empty() ? "" : "; ");
    }
    if (!r.longWord.empty()) {
        text += Quoted(MarkupToDisplay(r.longWord, map)) + " is longer than " +
                std::to_string(kPreviewLineLength) + " characters";
    }
    return text;
}

// Each changed row before and after, and each that still does not fit.
void printRows(std::span<const StringEntry> rows, std::span<const ReflowedRow> done,
               const CharacterMap& map) {
    for (const ReflowedRow& r : done) {
        if (r.changed) {
            std::cout << "row " << r.index + 1 << ": "
                      << Quoted(MarkupToDisplay(rows[r.index].Text, map)) << " -> "
                      << Quoted(MarkupToDisplay(r.row.Text, map)) << "\n";
        }
        if (!r.fits()) {
            std::cout << unfitText(r, map) << "\n";
        }
    }
}

}  // namespace

int runReflow(const ReflowOptions& o) {
    try {
        CheckRomFile(o.rom, o.copy || o.dryRun ? RomAccess::kReadOnly : RomAccess::kReadWrite);
        RefuseToOverwrite("-", o.rom);  // what the tool prints would land in the ROM image
        const CharacterMap map = CharacterMapFor(o.charmap, o.rom);
        const LoadedRom loaded = LoadRomFile(o.rom);
        const std::vector<StringEntry>& rows = loaded.rows;
        const auto scope = RowsOption(o.rows, rows.size());
        if (!scope) {
            return kUsage;
        }
        const std::vector<ReflowedRow> done = ReflowRows(rows, *scope, map);
        std::size_t changed = 0, unfit = 0;
        for (const ReflowedRow& r : done) {
            changed += r.changed ? 1 : 0;
            unfit += r.fits() ? 0 : 1;
        }
        std::vector<StringEntry> edited = rows;
        std::vector<std::size_t> reflowed;
        for (const ReflowedRow& r : done) {
            edited[r.index] = r.row;
            if (r.changed) {
                reflowed.push_back(r.index);
            }
        }
        const std::string copyPath =
            changed == 0 ? "" : SaveEditedRows(o.rom, loaded, edited, reflowed, o.copy, o.dryRun);
        if (!o.quiet) {
            printRows(rows, done, map);
        }
        std::cout << "Reflowed " << Counted(changed, "row", "rows")
                  << (unfit == 0 ? "" : "; " + std::to_string(unfit) + " still do not fit")
                  << (copyPath.empty() ? "" : "\n" + Escaped(copyPath)) << "\n";
        return 0;
    } catch (const SaveError& e) {
        return Fail(e.what());
    } catch (const FileError& e) {
        return Fail(e.what());
    } catch (const ProjectFileError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
