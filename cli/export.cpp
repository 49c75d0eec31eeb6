#include "commands.hpp"
#include "errors.hpp"
#include "exchange/formats.hpp"
#include "io.hpp"
#include "rom/load.hpp"

namespace qm::cli {

int runExport(const std::string& rom, const std::string& out, const std::string& format) {
    try {
        const TableFormat chosen =
            format.empty() ? TableFormatForFileName(out) : TableFormatNamed(format).value();
        RefuseToOverwrite(out, rom);
        WriteOutput(out, TableToText(chosen, LoadRom(rom)));
        return 0;
    } catch (const FileError& e) {
        return Fail(e.what());
    } catch (const TableError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
