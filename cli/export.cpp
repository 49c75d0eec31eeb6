#include <fstream>
#include <iostream>

#include "commands.hpp"
#include "errors.hpp"
#include "exchange/json.hpp"
#include "rom/load.hpp"

namespace qm::cli {

int runExport(const std::string& romPath, const std::optional<std::string>& outPath) {
    std::vector<StringEntry> rows;
    try {
        rows = LoadRom(romPath);
    } catch (const FileError& e) {
        std::cerr << "quillmoor-script: " << e.what() << "\n";
        return 1;
    }
    const std::string json = TableToJson(rows);
    if (!outPath) {
        std::cout << json;
        return 0;
    }
    std::ofstream out(*outPath, std::ios::binary | std::ios::trunc);
    out << json;
    out.close();
    if (!out) {
        std::cerr << "quillmoor-script: Cannot write \"" << *outPath << "\".\n";
        return 1;
    }
    return 0;
}

}  // namespace qm::cli
