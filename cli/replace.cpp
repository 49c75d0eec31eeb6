// quillmoor-script replace ROM FIND REPLACEMENT: Replace All from the command
// line, by the window's rules (tokens are units; a replacement the game cannot
// take is refused before anything is written), saved as import saves.
#include <charconv>
#include <iostream>
#include <numeric>
#include <span>

#include "commands.hpp"
#include "errors.hpp"
#include "io.hpp"
#include "markup/display.hpp"
#include "project/project_file.hpp"
#include "rom/load.hpp"
#include "rom_files.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "text.hpp"
#include "translation/replace.hpp"

namespace qm::cli {

namespace {

// A 1-based row number; nothing unless the whole text is one.
std::optional<std::size_t> number(std::string_view text) {
    std::size_t n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    return error == std::errc() && end == text.data() + text.size() && n > 0
               ? std::optional<std::size_t>(n)
               : std::nullopt;
}

// The 0-based rows of a list such as «3,7,10-20,500-» (1-based, "500-" running to
// the last row); nothing when it is no such list or names a row the table lacks.
std::optional<std::vector<std::size_t>> rowList(std::string_view list, std::size_t rowCount) {
    std::vector<std::size_t> rows;
    while (true) {
        const std::string_view item = list.substr(0, list.find(','));
        const std::size_t dash = item.find('-');
        const auto first = number(item.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first
                          : dash + 1 == item.size()      ? std::optional(rowCount)
                                                         : number(item.substr(dash + 1));
        if (!first || !last || *first > *last || *last > rowCount) {
            return std::nullopt;
        }
        for (std::size_t n = *first; n <= *last; ++n) {
            rows.push_back(n - 1);
        }
        if (item.size() == list.size()) {
            return rows;
        }
        list.remove_prefix(item.size() + 1);
    }
}

// Saves rows with the replaced ones in them, as import does, and the project
// file with the changed rows' states as an edit leaves them; returns the copy's
// path with --copy. Nothing is written for a dry run or when nothing changed.
std::string save(const ReplaceOptions& o, std::vector<StringEntry> rows, const Replacement& done) {
    if (o.dryRun || done.rows.empty()) {
        return "";
    }
    Project project = ReadProjectBeside(o.rom);
    for (const ReplacedRow& r : done.rows) {
        rows[r.index] = r.row;
        RowReview review = ReviewOf(project.reviews, r.index);
        review.state = StateAfterTextChange(review.state);
        SetReview(project.reviews, r.index, std::move(review));
    }
    const std::string copy = o.copy ? SaveRomAsCopy(o.rom, rows) : "";
    if (!o.copy) {
        SaveRom(o.rom, rows);
    }
    try {
        WriteProjectBeside(o.copy ? copy : o.rom, project);
    } catch (const FileError& e) {
        throw FileError("The rows are saved, but not their review states: " +
                        std::string(e.what()));
    }
    return copy;
}

}  // namespace

int runReplace(const ReplaceOptions& o) {
    if (o.find.empty()) {
        Fail("FIND is empty; give the text to replace");
        return kUsage;
    }
    try {
        CheckRomFile(o.rom, o.copy || o.dryRun ? RomAccess::kReadOnly : RomAccess::kReadWrite);
        const CharacterMap map = CharacterMapFor(o.charmap, o.rom);
        const std::vector<StringEntry> rows = LoadRom(o.rom);
        std::vector<std::size_t> scope(rows.size());
        std::iota(scope.begin(), scope.end(), std::size_t{0});
        if (!o.rows.empty()) {
            const auto listed = rowList(o.rows, rows.size());
            if (!listed) {
                Fail("--rows " + Quoted(o.rows) + " is no list of rows from 1 to " +
                     std::to_string(rows.size()) + " such as 3,7,10-20");
                return kUsage;
            }
            scope = *listed;
        }
        const SearchPattern pattern{DisplayToMarkup(o.find, map), o.matchCase, o.wholeWord, &map};
        const Replacement done =
            ReplaceAll(rows, scope, pattern, DisplayToMarkup(o.replacement, map));
        const std::string copyPath = save(o, rows, done);
        for (const ReplacedRow& r : o.quiet ? std::span<const ReplacedRow>() : done.rows) {
            std::cout << "row " << r.index + 1 << ": "
                      << Quoted(MarkupToDisplay(rows[r.index].Text, map)) << " -> "
                      << Quoted(MarkupToDisplay(r.row.Text, map)) << "\n";
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
