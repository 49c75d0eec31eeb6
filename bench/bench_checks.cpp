// The checks against the original over the demo table (on every Apply, for the
// marks and counts), for one row (on every keystroke), and Reflow of every row
// that overflows.
#include <benchmark/benchmark.h>

#include <numeric>

#include "demo/demo.hpp"
#include "rom/internal_header.hpp"
#include "rom/load.hpp"
#include "translation/checks.hpp"
#include "translation/reflow.hpp"

namespace qm {
namespace {

// The demo with every row translated: half of them by one German line (which
// drops codes, numbers and marks), the others changed a little (no warning but
// inconsistent ones), against the untouched demo as the original.
struct Tables {
    std::vector<StringEntry> original = LoadRom(BuildDemoImage());
    std::vector<StringEntry> rows = translated(original);

    static std::vector<StringEntry> translated(std::vector<StringEntry> rows) {
        for (std::size_t k = 0; k < rows.size(); ++k) {
            rows[k].Text = k % 2 == 0 ? "Guten Morgen!(return)Die Ebbe ist da, sagt man hier."
                                      : "Ja, " + rows[k].Text;
        }
        return rows;
    }
};

void BM_ChecksOfAllRows(benchmark::State& state) {
    const Tables t;
    const TranslationChecks checks(t.original);
    for (auto _ : state) {
        benchmark::DoNotOptimize(CountWarnings(checks.ofTable(t.rows)));
    }
}
BENCHMARK(BM_ChecksOfAllRows)->Unit(benchmark::kMicrosecond);

void BM_ChecksOfOneRow(benchmark::State& state) {
    const Tables t;
    const TranslationChecks checks(t.original);
    for (auto _ : state) {
        benchmark::DoNotOptimize(checks.ofRow(t.rows, 16, t.rows[16]));
    }
}
BENCHMARK(BM_ChecksOfOneRow)->Unit(benchmark::kMicrosecond);

void BM_ReadingTheOriginal(benchmark::State& state) {
    const Tables t;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TranslationChecks(t.original));
    }
}
BENCHMARK(BM_ReadingTheOriginal)->Unit(benchmark::kMicrosecond);

void BM_ReflowAllRows(benchmark::State& state) {
    const Tables t;
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
