#pragma once
// The verbs of quillmoor-script. Each returns the process exit status (io.hpp).

#include <string>
#include <vector>

namespace qm::cli {

/// The string table of rom in format ("json", "csv", "po"; empty: from out's
/// extension), to out ("-": standard output); with the original's texts beside
/// it when original is not empty. charmap, here and below: the --charmap file,
/// empty for the map beside the ROM image (rom_files.hpp).
int runExport(const std::string& rom, const std::string& out, const std::string& format,
              const std::string& original = "", const std::string& charmap = "");
struct ImportOptions {
    std::string rom;
    std::string table;   ///< "-": standard input
    std::string format;  ///< empty: from the table's extension
    bool copy = false;
    bool skipFuzzy = false;  ///< PO: leave the rows of fuzzy entries as they are
    std::string charmap;
};
/// Writes a table into rom as Save ROM does, or with copy as Save As Copy does,
/// and the notes and states it changes into the project file beside the ROM
/// image written.
int runImport(const ImportOptions& options);
/// The demo ROM image, to out; an existing file only with force.
int runDemo(const std::string& out, bool force);
/// A patch from original to modified in format ("bps", "ips"; empty: from out's
/// extension), to out.
int runCreatePatch(const std::string& original, const std::string& modified, const std::string& out,
                   const std::string& format);
/// rom with patch applied, to out.
int runApplyPatch(const std::string& patch, const std::string& rom, const std::string& out);

/// Lists the lines of rom's rows (with table imported, when given) that run past
/// the text box, the rows import would refuse, and the rows in the chosen review
/// states, in format ("text", "json"). 0 when nothing is found, 1 when something
/// is (or a file cannot be read).
struct CheckOptions {
    std::string rom;
    std::string table;                ///< empty: none
    std::string format = "text";      ///< "text" or "json"
    std::vector<std::string> states;  ///< review states whose rows to list ("needs-review")
    std::string charmap;
};
int runCheck(const CheckOptions& options);
/// Lists the rows that differ between the ROM image original and modified (a ROM
/// image, or a table file standing for original with it imported), then their
/// count, in format ("text", "json", "csv"). 0 when none differ, 1 when some do
/// or a row of the table would be refused (or a file cannot be read). The map
/// beside a ROM image is modified's when it is one, else original's.
int runDiff(const std::string& original, const std::string& modified, const std::string& format,
            const std::string& charmap = "");

struct ReplaceOptions {
    std::string rom;
    std::string find;         ///< UTF-8 display text, as given
    std::string replacement;  ///< UTF-8 display text, as given
    std::string charmap;
    std::string rows;  ///< «3,7,10-20»; empty: every row
    bool wholeWord = false;
    bool matchCase = false;
    bool copy = false;
    bool dryRun = false;
    bool quiet = false;
};
/// Replaces find by replacement in rom's rows by the window's rules, printing
/// each changed row (not with quiet) and the count, and saves as import does
/// (nothing when no row changed, with dryRun, or when a row is refused).
int runReplace(const ReplaceOptions& options);

}  // namespace qm::cli
