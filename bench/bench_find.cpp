// Find Next across the whole demo table.
#include <benchmark/benchmark.h>

#include "demo/demo.hpp"
#include "rom/load.hpp"
#include "translation/filter.hpp"

namespace qm {
namespace {

// A search that matches nowhere reads every row's preview: the worst case.
void BM_FindNextAcrossDemoTable(benchmark::State& state) {
    const auto rows = LoadRom(BuildDemoImage());
    for (auto _ : state) {
        benchmark::DoNotOptimize(NextRowContaining(rows, std::nullopt, "no such words"));
    }
}
BENCHMARK(BM_FindNextAcrossDemoTable)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qm
