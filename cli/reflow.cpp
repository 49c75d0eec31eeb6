// quillmoor-script reflow ROM [--rows LIST] [--dry-run] [--copy] [--quiet]: Reflow
// of every row that overflows (or of those listed), saved as replace saves; rows
// that fit stay as they are, and rows that still do not fit are reported.
#include <iostream>

#include "commands.hpp"
#include "errors.hpp"
#include "io.hpp"
#include "preview/preview.hpp"
#include "rom/load.hpp"
#include "rows.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "text.hpp"
#include "translation/reflow.hpp"

namespace qm::cli {

namespace {

// «row 17: needs 3 lines; "Rosalindsdiarydayforty" is longer than 20 characters»
std::string unfitText(const ReflowedRow& r) {
    std::string text = "row " + std::to_string(r.index + 1) + ": ";
    if (r.lines > kPreviewLineCount) {
        text += "needs " + std::to_string(r.lines) + " lines" + (r.longWord.empty() ? "" : "; ");
    }
    if (!r.longWord.empty()) {
        text += Quoted(Latin1ToUtf8(r.longWord)) + " is longer than " +
                std::to_string(kPreviewLineLength) + " characters";
    }
    return text;
}

}  // namespace

int runReflow(const ReflowOptions& o) {
    try {
        CheckRomFile(o.rom, o.copy || o.dryRun ? RomAccess::kReadOnly : RomAccess::kReadWrite);
        RefuseToOverwrite("-", o.rom);  // what the tool prints would land in the ROM image
        const LoadedRom loaded = LoadRomFile(o.rom);
        const std::vector<StringEntry>& rows = loaded.rows;
        const auto scope = RowsOption(o.rows, rows.size());
        if (!scope) {
            return kUsage;
        }
        const std::vector<ReflowedRow> done = ReflowRows(rows, *scope);
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
            changed == 0 ? ""
                         : SaveEditedRows(o.rom, loaded, edited, reflowed, o.copy, o.dryRun);
        for (const ReflowedRow& r : o.quiet ? std::span<const ReflowedRow>() : done) {
            if (r.changed) {
                std::cout << "row " << r.index + 1 << ": "
                          << Quoted(Latin1ToUtf8(rows[r.index].Text)) << " -> "
                          << Quoted(Latin1ToUtf8(r.row.Text)) << "\n";
            }
            if (!r.fits()) {
                std::cout << unfitText(r) << "\n";
            }
        }
        std::cout << "Reflowed " << Counted(changed, "row", "rows")
                  << (unfit == 0 ? "" : "; " + std::to_string(unfit) + " still do not fit")
                  << (copyPath.empty() ? "" : "\n" + Escaped(copyPath)) << "\n";
        return 0;
    } catch (const SaveError& e) {
        return Fail(e.what());
    } catch (const FileError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
