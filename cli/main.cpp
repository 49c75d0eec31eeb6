// quillmoor-script: the editor's core from the command line.
#include <CLI/CLI.hpp>
#include <iostream>
#include <string>

#include "commands.hpp"
#include "io.hpp"

namespace {

constexpr const char* kCommands[] = {"export", "import", "demo"};

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
    CLI::App app{"Quillmoor Text Edit from the command line", "quillmoor-script"};
    app.set_version_flag("--version", "quillmoor-script " QM_VERSION);
    app.require_subcommand(1);

    std::string exportRom;
    std::string exportOut = "-";
    auto* exportCmd = app.add_subcommand("export", "Write a ROM image's string table as JSON");
    exportCmd->add_option("ROM", exportRom, "ROM image to read")->required();
    exportCmd->add_option("-o,--output", exportOut, "file to write; - for standard output");

    std::string importRom;
    std::string importTable;
    bool importCopy = false;
    auto* importCmd = app.add_subcommand(
        "import", "Write a JSON string table into a ROM image, as Save ROM does");
    importCmd->add_option("ROM", importRom, "ROM image to write")->required();
    importCmd->add_option("TABLE", importTable, "table in the export format; - for standard input")
        ->required();
    importCmd->add_flag("--copy", importCopy, "save into a copy, as Save As Copy does");

    std::string demoOut;
    bool demoForce = false;
    auto* demoCmd = app.add_subcommand("demo", "Write a demo ROM image with 512 sample strings");
    demoCmd->add_option("OUT", demoOut, "file to write")->required();
    demoCmd->add_flag("--force", demoForce, "replace OUT if it exists");

    if (argc > 1 && argv[1][0] != '-' && !isCommand(argv[1])) {
        qm::cli::Fail(std::string("unknown command \"") + argv[1] + "\"; run with --help");
        return qm::cli::kUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);  // --help and --version
    } catch (const CLI::ParseError& e) {
        qm::cli::Fail(std::string(e.what()) + "; run with --help");
        return qm::cli::kUsage;
    }

    if (*exportCmd) {
        return qm::cli::runExport(exportRom, exportOut);
    }
    if (*demoCmd) {
        return qm::cli::runDemo(demoOut, demoForce);
    }
    return qm::cli::runImport(importRom, importTable, importCopy);
}
