// quillmoor-script import ROM TABLE [--copy] [--format F]: writes a table into
// ROM exactly as Save ROM (or, with --copy, Save As Copy) would; rows the table
// leaves as they were keep their bytes.
#include <iostream>

#include "commands.hpp"
#include "errors.hpp"
#include "io.hpp"
#include "rom/load.hpp"
#include "rom_files.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "table_file.hpp"

namespace qm::cli {

namespace {

// Standard input has no name to tell its format by: when it is not JSON, the
// message says how to choose.
std::vector<TableRecord> readTable(const std::string& table, const std::string& format,
                                   const TableContext& context) {
    try {
        return ReadTable(table, format, context);
    } catch (const TableError& e) {
        if (table != "-" || !format.empty()) {
            throw;
        }
        throw TableError(std::string(e.what()) +
                         " Without --format it is read as JSON: give --format po or --format csv "
                         "for a PO or CSV table.");
    }
}

std::string changedRows(std::size_t changed) {
    return "Imported " + std::to_string(changed) +
           (changed == 1 ? " changed row" : " changed rows");
}

}  // namespace

int runImport(const std::string& rom, const std::string& table, const std::string& format,
              bool copy, const std::string& charmap) {
    try {
        CheckRomFile(rom, copy ? RomAccess::kReadOnly : RomAccess::kReadWrite);
        RefuseToOverwrite("-", rom);  // what the tool prints would land in the ROM image
        const CharacterMap map = CharacterMapFor(charmap, rom);
        const TableContext context{{}, &map};
        const std::vector<TableRecord> records = readTable(table, format, context);
        const TableImport imported = ApplyTable(LoadRom(rom), records, context);
        for (const std::string& note : imported.notes) {
            std::cerr << "quillmoor-script: note: " << note << "\n";
        }
        if (copy) {
            const std::string written = SaveRomAsCopy(rom, imported.rows);
            Tell(imported.changed == 0
                     ? "No row changed; wrote the copy " + written
                     : changedRows(imported.changed) + " into the copy " + written);
        } else if (imported.changed == 0) {
            Tell("No row changed");  // and the file is left as it is, not rewritten
        } else {
            SaveRom(rom, imported.rows);
            Tell(changedRows(imported.changed) + " into " + rom);
        }
        return 0;
    } catch (const TableError& e) {
        return Fail(TableMessage(table, e.what()));
    } catch (const SaveError& e) {
        return Fail(e.what());
    } catch (const FileError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
