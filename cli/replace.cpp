// quillmoor-script replace ROM FIND REPLACEMENT: Replace All from the command
// line, by the window's rules (tokens are units; a replacement the game cannot
// take is refused before anything is written), saved as import saves.
#include <iostream>
#include <span>

#include "commands.hpp"
#include "errors.hpp"
#include "io.hpp"
#include "rom/load.hpp"
#include "rows.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "text.hpp"
#include "translation/replace.hpp"

namespace qm::cli {

namespace {

}  // namespace

int runReplace(const ReplaceOptions& o) {
    if (o.find.empty()) {
        Fail("FIND is empty; give the text to replace");
        return kUsage;
    }
    try {
        CheckRomFile(o.rom, o.copy || o.dryRun ? RomAccess::kReadOnly : RomAccess::kReadWrite);
        const LoadedRom loaded = LoadRomFile(o.rom);
        const std::vector<StringEntry>& rows = loaded.rows;
        const auto scope = RowsOption(o.rows, rows.size());
        if (!scope) {
            return kUsage;
        }
        const SearchPattern pattern{Utf8ToLatin1(o.find), o.matchCase, o.wholeWord};
        const Replacement done = ReplaceAll(rows, *scope, pattern, Utf8ToLatin1(o.replacement));
        std::vector<StringEntry> edited = rows;
        for (const ReplacedRow& r : done.rows) {
            edited[r.index] = r.row;
        }
        const std::string copyPath =
            done.rows.empty() ? "" : SaveEditedRows(o.rom, loaded, edited, o.copy, o.dryRun);
        for (const ReplacedRow& r : o.quiet ? std::span<const ReplacedRow>() : done.rows) {
            std::cout << "row " << r.index + 1 << ": " << Quoted(Latin1ToUtf8(rows[r.index].Text))
                      << " -> " << Quoted(Latin1ToUtf8(r.row.Text)) << "\n";
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
