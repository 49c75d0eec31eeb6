// quillmoor-script import ROM TABLE.json [--copy]: writes a table in the export
// format into ROM exactly as Save ROM (or, with --copy, Save As Copy) would.
#include <fstream>
#include <iostream>
#include <sstream>

#include "commands.hpp"
#include "errors.hpp"
#include "exchange/json.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"

namespace qm::cli {

namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        throw FileError("Cannot read the table \"" + path + "\".");
    }
    return text.str();
}

}  // namespace

int runImport(const std::string& romPath, const std::string& tablePath, bool copy) {
    try {
        std::vector<StringEntry> rows = TableFromJson(readText(tablePath));
        if (copy) {
            std::cout << SaveRomAsCopy(romPath, rows) << "\n";
        } else {
            SaveRom(romPath, rows);
        }
        return 0;
    } catch (const TableError& e) {
        std::cerr << "quillmoor-script: The table \"" << tablePath
                  << "\" is not in the export format: " << e.what() << "\n";
    } catch (const SaveError& e) {
        std::cerr << "quillmoor-script: " << e.what() << "\n";
    } catch (const FileError& e) {
        std::cerr << "quillmoor-script: " << e.what() << "\n";
    }
    return 1;
}

}  // namespace qm::cli
