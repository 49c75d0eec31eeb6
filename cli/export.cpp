#include "commands.hpp"
#include "errors.hpp"
#include "exchange/json.hpp"
#include "io.hpp"
#include "rom/load.hpp"

namespace qm::cli {

int runExport(const std::string& rom, const std::string& out) {
    try {
        RefuseToOverwrite(out, rom);
        WriteOutput(out, TableToJson(LoadRom(rom)));
        return 0;
    } catch (const FileError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
