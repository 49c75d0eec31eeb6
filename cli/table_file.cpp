#include "table_file.hpp"

#include "exchange/table_file.hpp"
#include "text.hpp"

namespace qm::cli {

std::vector<TableRecord> ReadTable(const std::string& path, const std::string& format,
                                   const TableContext& context) {
    return ReadTableFile(path, format.empty() ? std::nullopt : TableFormatNamed(format), context);
}

std::string TableMessage(const std::string& path, const std::string& what) {
    return (path == "-" ? std::string("The table from standard input")
                        : "The table " + Quoted(path)) +
           ": " + what;
}

}  // namespace qm::cli
