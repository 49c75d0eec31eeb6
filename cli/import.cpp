// quillmoor-script import ROM TABLE [--copy] [--format F]: writes a table into
// ROM exactly as Save ROM (or, with --copy, Save As Copy) would; rows the table
// leaves as they were keep their bytes.
#include <iostream>

#include "commands.hpp"
#include "errors.hpp"
#include "exchange/formats.hpp"
#include "io.hpp"
#include "rom/load.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "table_file.hpp"

namespace qm::cli {

int runImport(const std::string& rom, const std::string& table, const std::string& format,
              bool copy) {
    try {
        CheckRomFile(rom, copy ? RomAccess::kReadOnly : RomAccess::kReadWrite);
        const std::vector<TableRecord> records = ReadTable(table, format);
        const TableImport imported = ApplyTable(LoadRom(rom), records);
        for (const std::string& note : imported.notes) {
            std::cerr << "quillmoor-script: note: " << note << "\n";
        }
        if (copy) {
            std::cout << SaveRomAsCopy(rom, imported.rows) << "\n";
        } else {
            SaveRom(rom, imported.rows);
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
