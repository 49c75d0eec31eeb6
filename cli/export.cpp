#include "commands.hpp"
#include "errors.hpp"
#include "exchange/formats.hpp"
#include "io.hpp"
#include "project/charmap_file.hpp"
#include "project/project_file.hpp"
#include "rom/load.hpp"
#include "rom_files.hpp"
#include "text.hpp"

namespace qm::cli {

int runExport(const std::string& rom, const std::string& out, const std::string& format,
              const std::string& original, const std::string& charmap) {
    try {
        const TableFormat chosen =
            format.empty() ? TableFormatForFileName(out) : TableFormatNamed(format).value();
        // The files read beside the ROM image are inputs too.
        for (const std::string& input :
             {rom, original, charmap.empty() ? CharacterMapPathFor(rom) : charmap,
              ProjectPathFor(rom)}) {
            if (!input.empty()) {
                RefuseToOverwrite(out, input);
            }
        }
        const CharacterMap map = CharacterMapFor(charmap, rom);
        const Project project = ReadProjectBeside(rom);
        const std::vector<StringEntry> rows = LoadRom(rom);
        const std::vector<StringEntry> originalRows =
            original.empty() ? std::vector<StringEntry>() : LoadRom(original);
        WriteOutput(out, TableToText(chosen, rows, {originalRows, &map, &project.reviews}));
        if (out != "-") {  // on standard output the table itself is the answer
            Tell("Wrote " + std::to_string(rows.size()) + " rows to " + Escaped(out));
        }
        return 0;
    } catch (const FileError& e) {
        return Fail(e.what());
    } catch (const TableError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
