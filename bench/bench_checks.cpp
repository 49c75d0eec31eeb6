// The checks against the original over the demo table (on every Apply, for the
// marks and counts), for one row (on every keystroke), and Reflow of every row
// that overflows.
#include <benchmark/benchmark.h>

#include <numeric>

#include "demo/demo.hpp"
#include "demo_tables.hpp"
#include "rom/internal_header.hpp"
#include "rom/load.hpp"
#include "translation/checks.hpp"
#include "translation/reflow.hpp"

namespace qm {
namespace {

void BM_ChecksOfAllRows(benchmark::State& state) {
    const DemoTables t = TranslatedDemo(true);
    const TranslationChecks checks(t.original);
    for (auto _ : state) {
        benchmark::DoNotOptimize(CountWarnings(checks.ofTable(t.rows)));
    }
}
BENCHMARK(BM_ChecksOfAllRows)->Unit(benchmark::kMicrosecond);

void BM_ChecksOfOneRow(benchmark::State& state) {
    const DemoTables t = TranslatedDemo(true);
    const TranslationChecks checks(t.original);
    for (auto _ : state) {
        benchmark::DoNotOptimize(checks.ofRow(t.rows, 16, t.rows[16]));
    }
}
BENCHMARK(BM_ChecksOfOneRow)->Unit(benchmark::kMicrosecond);

void BM_ReadingTheOriginal(benchmark::State& state) {
    const DemoTables t = TranslatedDemo(true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(TranslationChecks(t.original));
    }
}
BENCHMARK(BM_ReadingTheOriginal)->Unit(benchmark::kMicrosecond);

void BM_ReflowAllRows(benchmark::State& state) {
    const DemoTables t = TranslatedDemo(true);
    std::vector<std::size_t> all(t.original.size());
    std::iota(all.begin(), all.end(), std::size_t{0});
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReflowRows(t.original, all));
    }
}
BENCHMARK(BM_ReflowAllRows)->Unit(benchmark::kMicrosecond);

void BM_HeaderChecksumOfTheDemo(benchmark::State& state) {
    const Bytes demo = BuildDemoImage();
    for (auto _ : state) {
        benchmark::DoNotOptimize(CheckHeaderChecksum(demo));
    }
}
BENCHMARK(BM_HeaderChecksumOfTheDemo)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qm
