// Exporting the 512 rows of the demo image to each exchange format, and reading
// such a file back into the table (parse, check every row, apply).
#include <benchmark/benchmark.h>

#include "demo/demo.hpp"
#include "exchange/formats.hpp"
#include "rom/load.hpp"

namespace qm {
namespace {

const char* nameOf(TableFormat format) {
    return format == TableFormat::Json ? "json" : format == TableFormat::Csv ? "csv" : "po";
}

void BM_ExportTable(benchmark::State& state) {
    const auto format = static_cast<TableFormat>(state.range(0));
    const auto rows = LoadRom(BuildDemoImage());
    for (auto _ : state) {
        benchmark::DoNotOptimize(TableToText(format, rows));
    }
    state.SetLabel(nameOf(format));
}
BENCHMARK(BM_ExportTable)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_ImportTable(benchmark::State& state) {
    const auto format = static_cast<TableFormat>(state.range(0));
    const auto rows = LoadRom(BuildDemoImage());
    std::string text = TableToText(format, rows);
    if (format == TableFormat::Po) {
        // Translated: every entry's msgstr filled, so every row is checked and changes.
        for (std::size_t at = text.find("msgstr \"\"\n\n"); at != std::string::npos;
             at = text.find("msgstr \"\"\n\n", at)) {
            text.replace(at, 9, "msgstr \"Translated text(return)here\"");
        }
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(ApplyTable(rows, TableFromText(format, text)));
    }
    state.SetLabel(nameOf(format));
}
BENCHMARK(BM_ImportTable)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qm
