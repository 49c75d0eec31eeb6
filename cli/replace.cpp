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

// Saves rows with the replaced ones in them, as import does; returns the copy's
// path with --copy. Nothing is written for a dry run or when nothing changed.
std::string save(const ReplaceOptions& o, std::vector<StringEntry> rows, const Replacement& done) {
    if (o.dryRun || done.rows.empty()) {
        return "";
    }
    for (const ReplacedRow& r : done.rows) {
        rows[r.index] = r.row;
    }
    if (o.copy) {
        return SaveRomAsCopy(o.rom, rows);
    }
    SaveRom(o.rom, rows);
    return "";
}

}  // namespace

int runReplace(const ReplaceOptions& o) {
    if (o.find.empty()) {
        Fail("FIND is empty; give the text to replace");
        return kUsage;
    }
    try {
        CheckRomFile(o.rom, o.copy || o.dryRun ? RomAccess::kReadOnly : RomAccess::kReadWrite);
        const std::vector<StringEntry> rows = LoadRom(o.rom);
        const auto scope = RowsOption(o.rows, rows.size());
        if (!scope) {
            return kUsage;
        }
        const SearchPattern pattern{Utf8ToLatin1(o.find), o.matchCase, o.wholeWord};
        const Replacement done = ReplaceAll(rows, *scope, pattern, Utf8ToLatin1(o.replacement));
        const std::string copyPath = save(o, rows, done);
        for (const ReplacedRow& r : o.quiet ? std::span<const ReplacedRow>() : done.rows) {
            std::cout << "row " << r.index + 1 << ": " << Quoted(Latin1ToUtf8(rows[r.index].Text))
                      << " -> " << Quoted(Latin1ToUtf8(r.row.Text)) << "\n";
        }
        std::cout << ReplacedText(done) << (copyPath.empty() ? "" : "\n" + copyPath) << "\n";
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
