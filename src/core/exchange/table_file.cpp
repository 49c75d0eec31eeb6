#include "exchange/table_file.hpp"

#include "command_files.hpp"

namespace qm {

std::vector<TableRecord> ReadTableFile(const std::string& path, std::optional<TableFormat> format,
                                       const TableContext& context) {
    const Bytes bytes = ReadInput(path, kLargestTableFile);
    return TableFromText(
        format.value_or(TableFormatForFileName(path)),
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), context);
}

}  // namespace qm
