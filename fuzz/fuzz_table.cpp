// libFuzzer target for importing a table, in memory: the input is a JSON or CSV
// table (its first byte chooses which) taken into a small string table. A table
// is refused with a TableError or taken in; a table taken in must save, since
// every row it changed was checked as the encoder checks it, and rows it did not
// name keep their bytes. Any failed check aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "errors.hpp"
#include "exchange/formats.hpp"
#include "rom/reader.hpp"
#include "rom/string_table.hpp"
#include "save/writer.hpp"
#include "text.hpp"

namespace {

using namespace qm;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_table: check failed: %s\n", what);
        std::abort();
    }
}

// Three rows, one of them in a byte form the editor would write differently.
const std::vector<StringEntry>& table() {
    static const std::vector<StringEntry> rows = [] {
        const Bytes region = {0x04, 0x07, 0x27, 0x5A, 0x52, 0xFF, 0x05, 0x01, 0x48, 0xFF, 0xFF};
        std::vector<std::string> strings = IsolateRomStrings(region);
        return UpdateStringtable(strings, region);
    }();
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const TableFormat format = data[0] % 2 == 0 ? TableFormat::Json : TableFormat::Csv;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    TableImport imported;
    try {
        imported = ApplyTable(table(), TableFromText(format, text));
    } catch (const TableError&) {
        return 0;
    }
    check(imported.rows.size() == table().size(), "the table keeps its rows");
    try {
        const LaidOutText laidOut = LayOutRows(imported.rows);
        check(laidOut.text.size() <= kTextRegionLength, "the text fits");
    } catch (const SaveError& e) {
        check(!e.row().has_value(), "a row taken in is one the encoder takes");
    }
    for (std::size_t k = 0; k < table().size(); ++k) {
        const StringEntry& before = table()[k];
        const StringEntry& after = imported.rows[k];
        if (after.Text == before.Text && after.Portrait == before.Portrait &&
            after.Coloured == before.Coloured) {
            check(EncodedBytes(after) == before.Loaded.bytes, "an untouched row keeps its bytes");
        }
    }
    return 0;
}
