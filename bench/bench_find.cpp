// Find Next across the whole demo table.
#include <benchmark/benchmark.h>

#include "commands/find.hpp"
#include "rom/demo.hpp"
#include "rom/reader.hpp"
#include "rom/string_table.hpp"

namespace qm {
namespace {

// A search that matches nowhere reads every row's preview: the worst case.
void BM_FindNextAcrossDemoTable(benchmark::State& state) {
    auto slots = IsolateRomStrings(ReadRomText(BuildDemoImage()).TextBlock);
    const auto rows = UpdateStringtable(slots);
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindNextRow(rows, 0, "no such words"));
    }
}
BENCHMARK(BM_FindNextAcrossDemoTable)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qm
