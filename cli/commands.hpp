#pragma once
// The verbs of quillmoor-script. Each returns the process exit status (io.hpp).

#include <cstddef>
#include <string>
#include <utility>
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
/// image written; nothing when another program changed rom since it was read.
int runImport(const ImportOptions& options);
/// The demo ROM image, to out; an existing file only with force.
int runDemo(const std::string& out, bool force);
/// A patch from original to modified in format ("bps", "ips"; empty: from out's
/// extension), to out.
int runCreatePatch(const std::string& original, const std::string& modified, const std::string& out,
                   const std::string& format);
/// rom with patch applied, to out.
int runApplyPatch(const std::string& patch, const std::string& rom, const std::string& out);

/// Prints the SNES internal header's checksum of rom against the computed one
/// (ChecksumText); with fix, writes the computed pair into rom when it is wrong.
/// 0 when the checksum is right (or now fixed), 1 when it is wrong, when rom has
/// no internal header (then nothing is written) or a file cannot be read or written.
int runChecksum(const std::string& rom, bool fix);

struct CheckOptions {
    std::string rom;
    std::string table;            ///< empty: the ROM image's own rows
    std::string format = "text";  ///< or "json"
    std::string original;         ///< untouched ROM image to check the rows against; empty: none
    std::string failOn = "warnings";  ///< anything found; "errors": overflows, refusals
    std::vector<std::string> states;  ///< review states whose rows to list ("needs-review")
    std::string charmap;
    /// glossary file (CSV) for the glossary check; empty: the project file's, if any
    std::string glossary;
    /// dictionary's language for the spelling check; empty: the project file's, if any
    std::string spelling;
    std::string words;  ///< project-words file for spelling; empty: the project file's words
};
/// Lists the lines of rom's rows (with table imported, when given) that run past
/// the text box, the rows kept as stored that the game misreads, with a table the
/// rows import would refuse and the save's refusal of the whole table, as
/// warnings the checks against original (translation/checks.hpp; the glossary
/// check with a glossary), the spelling check with a language (translated rows
/// only when there is an original) and a wrong header checksum of rom, and the
/// rows in the chosen review states, in format ("text", "json"). The glossary,
/// language and words not given come from the project file beside rom, and the
/// warnings it ignores are left out (and counted). 0 when nothing that failOn
/// names is found, 1 when something is (or a file cannot be read).
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
/// (nothing when no row changed, with dryRun, when a row or the whole table is
/// refused, or when another program changed rom since it was read).
int runReplace(const ReplaceOptions& options);

struct ReflowOptions {
    std::string rom;
    std::string rows;  ///< «3,7,10-20»; empty: every row
    bool copy = false;
    bool dryRun = false;
    bool quiet = false;
    std::string charmap;
};
struct SuggestOptions {
    std::string rom;
    std::string original;              ///< the untouched ROM image
    std::size_t row = 0;               ///< 1-based, as given
    std::string format = "text";       ///< or "json"
    std::vector<std::string> poFiles;  ///< further sources: PO files
    /// further sources: another ROM image's translated table and its original
    std::vector<std::pair<std::string, std::string>> roms;
    std::string charmap;
};
/// Prints up to 5 suggestions for row of rom: translated rows (and further
/// sources' entries) whose originals read like row's original (SuggestionIndex),
/// in display text with the character map.
/// 0 when it ran (with or without suggestions), 1 when a file cannot be read, 2
/// for a row the table lacks.
int runSuggest(const SuggestOptions& options);

/// Reflows the rows of rom that overflow (those of rows only), printing each
/// changed row and each that still does not fit (not with quiet) and the count,
/// and saves as runReplace does (nothing with dryRun or when no row changed).
int runReflow(const ReflowOptions& options);

}  // namespace qm::cli
