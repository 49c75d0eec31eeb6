#include "table_file.hpp"

#include "exchange/formats.hpp"
#include "io.hpp"

namespace qm::cli {

std::vector<TableRecord> ReadTable(const std::string& path, const std::string& format,
                                   const TableContext& context) {
    const TableFormat chosen =
        format.empty() ? TableFormatForFileName(path) : TableFormatNamed(format).value();
    const Bytes bytes = ReadInput(path, kLargestTableFile);
    return TableFromText(
        chosen, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
        context);
}

std::string TableMessage(const std::string& path, const std::string& what) {
    return (path == "-" ? std::string("The table from standard input")
                        : "The table \"" + path + "\"") +
           ": " + what;
}

}  // namespace qm::cli
