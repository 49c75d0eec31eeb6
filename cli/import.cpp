// quillmoor-script import ROM TABLE [--copy] [--format F]: writes a table into
// ROM exactly as Save ROM (or, with --copy, Save As Copy) would; rows the table
// leaves as they were keep their bytes. A ROM image another program changes
// while the table is read or written is not written over.
#include <iostream>

#include "commands.hpp"
#include "errors.hpp"
#include "io.hpp"
#include "project/project_file.hpp"
#include "rom/load.hpp"
#include "rom_files.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"
#include "table_file.hpp"
#include "text.hpp"

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

// Writes the project beside the ROM image written (a copy takes it along);
// returns what to add to the line that says what was done.
std::string savedProject(const std::string& rom, const Project& project, std::size_t changed,
                         bool copy) {
    if (changed == 0 && !(copy && !project.empty())) {
        return "";
    }
    try {
        WriteProjectBeside(rom, project);
    } catch (const FileError& e) {
        throw FileError("The rows are saved, but not the notes and states: " +
                        std::string(e.what()));
    }
    return "; the notes and states" +
           (changed == 0 ? std::string() : " of " + Counted(changed, "row", "rows")) + " into " +
           ProjectPathFor(rom);
}

std::string changedRows(std::size_t changed) {
    return "Imported " + std::to_string(changed) +
           (changed == 1 ? " changed row" : " changed rows");
}

}  // namespace

int runImport(const ImportOptions& o) {
    try {
        CheckRomFile(o.rom, o.copy ? RomAccess::kReadOnly : RomAccess::kReadWrite);
        RefuseToOverwrite("-", o.rom);  // what the tool prints would land in the ROM image
        // The image first: its stamp then covers the whole time the table takes.
        const LoadedRom loaded = LoadRomFile(o.rom);
        const SaveOptions options{.expected = loaded.stamp};
        const CharacterMap map = CharacterMapFor(o.charmap, o.rom);
        Project project = ReadProjectBeside(o.rom);
        const TableContext context{{}, &map, &project.reviews, !o.skipFuzzy};
        const std::vector<TableRecord> records = readTable(o.table, o.format, context);
        TableImport imported = ApplyTable(loaded.rows, records, context);
        for (const std::string& note : imported.notes) {
            std::cerr << "quillmoor-script: note: " << note << "\n";
        }
        std::string said;
        std::string target = o.rom;
        if (o.copy) {
            target = SaveRomAsCopy(o.rom, imported.rows, {}, options).path;
            said = imported.changed == 0
                       ? "No row changed; wrote the copy " + Escaped(target)
                       : changedRows(imported.changed) + " into the copy " + Escaped(target);
        } else if (imported.changed == 0) {
            said = "No row changed";  // and the file is left as it is, not rewritten
        } else {
            SaveRom(o.rom, imported.rows, {}, options);
            said = changedRows(imported.changed) + " into " + Escaped(o.rom);
        }
        project.reviews = std::move(imported.reviews);
        Tell(said + savedProject(target, project, imported.reviewsChanged, o.copy));
        return 0;
    } catch (const TableError& e) {
        return Fail(TableMessage(o.table, e.what()));
    } catch (const SaveError& e) {
        return Fail(e.what());
    } catch (const FileError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
