// quillmoor-script: the editor's core from the command line.
#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "commands.hpp"

int main(int argc, char** argv) {
    CLI::App app{"Quillmoor Text Edit from the command line"};
    app.require_subcommand(1);

    std::string exportRom;
    std::optional<std::string> exportOut;
    auto* exportCmd = app.add_subcommand("export", "Write a ROM image's string table as JSON");
    exportCmd->add_option("ROM", exportRom, "ROM image to read")->required();
    exportCmd->add_option("-o,--output", exportOut,
                          "JSON file to write (default: standard output)");

    std::string demoOut;
    auto* demoCmd = app.add_subcommand("demo", "Write a demo ROM image with 512 sample strings");
    demoCmd->add_option("OUT", demoOut, "file to write")->required();

    std::string importRom;
    std::string importTable;
    bool importCopy = false;
    auto* importCmd = app.add_subcommand(
        "import", "Write a JSON string table into a ROM image, as Save ROM does");
    importCmd->add_option("ROM", importRom, "ROM image to write")->required();
    importCmd->add_option("TABLE", importTable, "JSON table in the export format")->required();
    importCmd->add_flag("--copy", importCopy, "save into a copy, as Save As Copy does");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // CLI11 answers --help with exit code 0; every real usage error gives 2.
        int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }

    if (*exportCmd) {
        return qm::cli::runExport(exportRom, exportOut);
    }
    if (*demoCmd) {
        return qm::cli::runDemo(demoOut);
    }
    return qm::cli::runImport(importRom, importTable, importCopy);
}
