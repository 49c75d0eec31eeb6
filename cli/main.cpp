// quillmoor-script: the editor's core from the command line.
#include <CLI/CLI.hpp>
#include <new>
#include <string>
#include <vector>

#include "commands.hpp"
#include "files.hpp"
#include "io.hpp"
#include "text.hpp"

namespace {

constexpr const char* kCommands[] = {"export",      "import", "demo",   "create-patch",
                                     "apply-patch", "check",  "diff",   "replace",
                                     "checksum",    "reflow", "suggest"};

bool isCommand(const std::string& word) {
    for (const char* command : kCommands) {
        if (word == command) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    qm::PrepareProcess();
    // CLI11 parses an argv; this one holds the arguments in UTF-8 on every system.
    std::vector<std::string> arguments = qm::CommandLineArguments(argc, argv);
    std::vector<char*> utf8Argv;
    for (std::string& argument : arguments) {
        utf8Argv.push_back(argument.data());
    }
    argc = static_cast<int>(utf8Argv.size());
    argv = utf8Argv.data();
    CLI::App app{"Quillmoor Text Edit from the command line", "quillmoor-script"};
    app.set_version_flag("--version", "quillmoor-script " QM_VERSION);
    app.require_subcommand(1);
    bool quiet = false;
    app.add_flag("-q,--quiet", quiet, "say nothing when all went well");
    app.fallthrough();  // so --quiet may also follow the verb
    const auto tableFormats = CLI::IsMember({"json", "csv", "po", "pot"}, CLI::ignore_case);
    // Every verb that reads or writes text shows and takes it through a character map.
    const auto addCharmap = [](CLI::App* verb, std::string& file) {
        verb->add_option("--charmap", file,
                         "character map (XX=c lines) for the free codes; default: NAME.tbl "
                         "beside the ROM image NAME.smc, when there is one");
    };

    std::string exportRom;
    std::string exportOut = "-";
    std::string exportFormat;
    auto* exportCmd = app.add_subcommand("export", "Write a ROM image's string table");
    exportCmd->add_option("ROM", exportRom, "ROM image to read")->required();
    exportCmd->add_option("-o,--output", exportOut, "file to write; - for standard output");
    exportCmd->add_option("--format", exportFormat, "json, csv, po or pot (default: from the name)")
        ->check(tableFormats);
    std::string exportOriginal;
    exportCmd->add_option("--original", exportOriginal,
                          "untouched ROM image whose texts go beside the rows");
    std::string exportCharmap;
    addCharmap(exportCmd, exportCharmap);

    qm::cli::ImportOptions importing;
    auto* importCmd =
        app.add_subcommand("import", "Write a string table into a ROM image, as Save ROM does");
    importCmd->add_option("ROM", importing.rom, "ROM image to write")->required();
    importCmd->add_option("TABLE", importing.table, "table file; - for standard input")->required();
    importCmd
        ->add_option("--format", importing.format, "json, csv, po or pot (default: from the name)")
        ->check(tableFormats);
    importCmd->add_flag("--copy", importing.copy, "save into a copy, as Save As Copy does");
    importCmd->add_flag("--skip-fuzzy", importing.skipFuzzy,
                        "PO: leave the rows of fuzzy entries as they are (otherwise their text "
                        "comes in, marked Needs review)");
    addCharmap(importCmd, importing.charmap);

    std::string demoOut;
    bool demoForce = false;
    auto* demoCmd = app.add_subcommand("demo", "Write a demo ROM image with 512 sample strings");
    demoCmd->add_option("OUT", demoOut, "file to write")->required();
    demoCmd->add_flag("--force", demoForce, "replace OUT if it exists");

    std::string original;
    std::string modified;
    std::string patchOut;
    std::string patchFormat;
    auto* createCmd = app.add_subcommand("create-patch", "Write a BPS or IPS patch");
    createCmd->add_option("ORIGINAL", original, "the unmodified ROM image")->required();
    createCmd->add_option("MODIFIED", modified, "the ROM image with the translation")->required();
    createCmd->add_option("-o,--output", patchOut, "patch to write (.bps or .ips)")->required();
    createCmd->add_option("--format", patchFormat, "bps or ips (default: from the name)")
        ->check(CLI::IsMember({"bps", "ips"}, CLI::ignore_case));

    std::string patch;
    std::string patchRom;
    std::string patchedOut;
    auto* applyCmd = app.add_subcommand("apply-patch", "Apply a BPS or IPS patch to a ROM image");
    applyCmd->add_option("PATCH", patch, "the patch")->required();
    applyCmd->add_option("ROM", patchRom, "the ROM image it is for")->required();
    applyCmd->add_option("-o,--output", patchedOut, "patched ROM image to write")->required();

    qm::cli::CheckOptions check;
    auto* checkCmd = app.add_subcommand(
        "check",
        "List lines past the text box, rows the game misreads, rows import would refuse and "
        "warnings (exit 1 if any)");
    checkCmd->add_option("ROM", check.rom, "ROM image to check")->required();
    checkCmd->add_option("TABLE", check.table, "table file to check as imported into ROM");
    checkCmd->add_option("--format", check.format, "text or json")
        ->transform(CLI::IsMember({"text", "json"}, CLI::ignore_case));
    checkCmd->add_option("--original", check.original,
                         "untouched ROM image to check the translation against");
    checkCmd
        ->add_option("--fail-on", check.failOn,
                     "warnings (anything found) or errors (overflows and refusals only)")
        ->transform(CLI::IsMember({"warnings", "errors"}, CLI::ignore_case));
    checkCmd
        ->add_option("--state", check.states,
                     "also list the rows in this review state (from NAME.qmproj): draft, "
                     "needs-review or approved; may be given again")
        ->transform(CLI::IsMember({"draft", "needs-review", "approved"}, CLI::ignore_case));
    addCharmap(checkCmd, check.charmap);
    checkCmd
        ->add_option("--glossary", check.glossary,
                     "glossary (CSV: term,translation) whose terms the translation must keep; "
                     "default: the one NAME.qmproj names")
        ->needs("--original");
    auto* spellingOption =
        checkCmd->add_option("--spelling", check.spelling,
                             "check spelling with this language's dictionary (en_US); default: "
                             "the language NAME.qmproj names");
    checkCmd
        ->add_option("--words", check.words,
                     "project words (one a line) spelt right; default: NAME.qmproj's")
        ->needs(spellingOption);

    std::string diffOriginal;
    std::string diffModified;
    std::string diffFormat = "text";
    auto* diffCmd = app.add_subcommand(
        "diff", "List the rows that differ between two ROM images (exit 1 if any)");
    diffCmd->add_option("ORIGINAL", diffOriginal, "the ROM image to compare with")->required();
    diffCmd->add_option("MODIFIED", diffModified, "a ROM image, or a table file (.json, .csv, .po)")
        ->required();
    diffCmd->add_option("--format", diffFormat, "text, json or csv")
        ->transform(CLI::IsMember({"text", "json", "csv"}, CLI::ignore_case));
    std::string diffCharmap;
    addCharmap(diffCmd, diffCharmap);

    qm::cli::ReplaceOptions replace;
    auto* replaceCmd = app.add_subcommand("replace", "Replace a text in every row, as Replace All");
    replaceCmd->add_option("ROM", replace.rom, "ROM image to write")->required();
    replaceCmd->add_option("FIND", replace.find, "markup to find")->required();
    replaceCmd->add_option("REPLACEMENT", replace.replacement, "markup to put in")->required();
    replaceCmd->add_flag("--whole-word", replace.wholeWord, "only whole words");
    replaceCmd->add_flag("--match-case", replace.matchCase, "upper and lower case differ");
    replaceCmd->add_option("--rows", replace.rows, "rows to search, such as 3,7,10-20");
    replaceCmd->add_flag("--copy", replace.copy, "save into a copy, as Save As Copy does");
    replaceCmd->add_flag("--dry-run", replace.dryRun, "show what would change; write nothing");
    replaceCmd->add_flag("--quiet", replace.quiet, "print only the count");
    addCharmap(replaceCmd, replace.charmap);

    std::string checksumRom;
    bool checksumFix = false;
    auto* checksumCmd = app.add_subcommand(
        "checksum", "Compare the SNES internal header's checksum with the ROM's (exit 1 if wrong)");
    checksumCmd->add_option("ROM", checksumRom, "ROM image to check")->required();
    checksumCmd->add_flag("--fix", checksumFix, "write the right checksum into the header");

    qm::cli::SuggestOptions suggest;
    auto* suggestCmd = app.add_subcommand(
        "suggest", "Suggest translations for a row from rows whose originals read alike");
    suggestCmd->add_option("ROM", suggest.rom, "ROM image with the translation")->required();
    suggestCmd->add_option("ROW", suggest.row, "row number (1-512)")->required();
    suggestCmd->add_option("--original", suggest.original, "the untouched ROM image")->required();
    suggestCmd->add_option("--format", suggest.format, "text or json")
        ->transform(CLI::IsMember({"text", "json"}, CLI::ignore_case));
    suggestCmd->add_option("--from-po", suggest.poFiles,
                           "a PO file whose translations are suggested too (may be repeated)");
    suggestCmd->add_option("--from-rom", suggest.roms,
                           "another ROM image's translation and its original, suggested too "
                           "(two files; may be repeated)");
    addCharmap(suggestCmd, suggest.charmap);

    qm::cli::ReflowOptions reflow;
    auto* reflowCmd =
        app.add_subcommand("reflow", "Break the lines of overflowing rows anew to fit the box");
    reflowCmd->add_option("ROM", reflow.rom, "ROM image to write")->required();
    reflowCmd->add_option("--rows", reflow.rows, "rows to reflow, such as 3,7,10-20");
    reflowCmd->add_flag("--copy", reflow.copy, "save into a copy, as Save As Copy does");
    reflowCmd->add_flag("--dry-run", reflow.dryRun, "show what would change; write nothing");
    reflowCmd->add_flag("--quiet", reflow.quiet, "print only the count");
    addCharmap(reflowCmd, reflow.charmap);

    if (argc > 1 && argv[1][0] != '-' && !isCommand(argv[1])) {
        qm::cli::Fail("unknown command " + qm::Quoted(argv[1]) + "; run with --help");
        return qm::cli::kUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);  // --help and --version
    } catch (const CLI::ParseError& e) {
        qm::cli::Fail(qm::Escaped(e.what()) + "; run with --help");  // it may quote an argument
        return qm::cli::kUsage;
    }

    qm::cli::SetQuiet(quiet);
    // Each verb reports its own failures; what still gets here is a message too.
    try {
        if (*exportCmd) {
            return qm::cli::runExport(exportRom, exportOut, exportFormat, exportOriginal,
                                      exportCharmap);
        }
        if (*checkCmd) {
            return qm::cli::runCheck(check);
        }
        if (*reflowCmd) {
            return qm::cli::runReflow(reflow);
        }
        if (*suggestCmd) {
            return qm::cli::runSuggest(suggest);
        }
        if (*checksumCmd) {
            return qm::cli::runChecksum(checksumRom, checksumFix);
        }
        if (*diffCmd) {
            return qm::cli::runDiff(diffOriginal, diffModified, diffFormat, diffCharmap);
        }
        if (*replaceCmd) {
            return qm::cli::runReplace(replace);
        }
        if (*importCmd) {
            return qm::cli::runImport(importing);
        }
        if (*createCmd) {
            return qm::cli::runCreatePatch(original, modified, patchOut, patchFormat);
        }
        if (*applyCmd) {
            return qm::cli::runApplyPatch(patch, patchRom, patchedOut);
        }
        return qm::cli::runDemo(demoOut, demoForce);
    } catch (const std::bad_alloc&) {
        return qm::cli::Fail("There is not enough memory to finish; no file was changed.");
    } catch (const std::exception& e) {
        return qm::cli::Fail(e.what());
    }
}
