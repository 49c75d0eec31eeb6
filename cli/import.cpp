// quillmoor-script import ROM TABLE [--copy]: writes a table into ROM exactly as
// Save ROM (or, with --copy, Save As Copy) would; rows the table leaves as they
// were keep their bytes.
#include <iostream>

#include "commands.hpp"
#include "errors.hpp"
#include "exchange/json.hpp"
#include "io.hpp"
#include "rom/load.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"

namespace qm::cli {

namespace {

// A table is text a person edits; anything larger is a mistake, not a table.
constexpr std::uintmax_t kLargestTable = 64 * 1024 * 1024;

std::string textOf(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

int runImport(const std::string& rom, const std::string& table, bool copy) {
    try {
        CheckRomFile(rom, copy ? RomAccess::kReadOnly : RomAccess::kReadWrite);
        const std::vector<TableRecord> records =
            TableFromJson(textOf(ReadInput(table, kLargestTable)));
        const TableImport imported = ApplyTable(LoadRom(rom), records);
        if (copy) {
            std::cout << SaveRomAsCopy(rom, imported.rows) << "\n";
        } else {
            SaveRom(rom, imported.rows);
        }
        return 0;
    } catch (const TableError& e) {
        return Fail((table == "-" ? std::string("The table") : "The table \"" + table + "\"") +
                    ": " + e.what());
    } catch (const SaveError& e) {
        return Fail(e.what());
    } catch (const FileError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
