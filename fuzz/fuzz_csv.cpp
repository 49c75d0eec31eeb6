// libFuzzer target for the CSV reader and writer, in memory: reading any input
// either gives records or throws CsvError, and records that were read write back
// to a text that reads to the same fields. Any failed check aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "exchange/csv.hpp"

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_csv: check failed: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<qm::CsvRecord> records;
    try {
        records = qm::ReadCsv(text);
    } catch (const qm::CsvError&) {
        return 0;
    }
    // Neither call may throw for records that were read.
    const std::vector<qm::CsvRecord> again = qm::ReadCsv(qm::WriteCsv(records));
    check(again.size() == records.size(), "the written text has as many records");
    for (std::size_t i = 0; i < records.size(); ++i) {
        check(again[i].fields == records[i].fields, "each record reads back to the same fields");
    }
    return 0;
}
