// The translator's view over the demo table: every row's state (they change on
// every Apply), filtering the list (on every typed character), one row's state
// (on every keystroke) and Replace All of a common word.
#include <benchmark/benchmark.h>

#include <numeric>

#include "demo/demo.hpp"
#include "demo_tables.hpp"
#include "rom/load.hpp"
#include "translation/filter.hpp"
#include "translation/replace.hpp"
#include "translation/row_state.hpp"

namespace qm {
namespace {

void BM_StatesOfAllRows(benchmark::State& state) {
    const DemoTables t = TranslatedDemo(false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(CountStates(StatesOf(t.rows, t.original)));
    }
}
BENCHMARK(BM_StatesOfAllRows)->Unit(benchmark::kMicrosecond);

void BM_StateOfOneRow(benchmark::State& state) {
    const DemoTables t = TranslatedDemo(false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(StateOf(t.rows[16], &t.original[16]));
    }
}
BENCHMARK(BM_StateOfOneRow)->Unit(benchmark::kMicrosecond);

void BM_FilterRows(benchmark::State& state) {
    const DemoTables t = TranslatedDemo(false);
    const std::vector<RowState> states = StatesOf(t.rows, t.original);
    const RowFilter filter{"no such words", StateChoice::All};  // reads every row and original
    for (auto _ : state) {
        benchmark::DoNotOptimize(FilterRows(t.rows, t.original, states, filter));
    }
}
BENCHMARK(BM_FilterRows)->Unit(benchmark::kMicrosecond);

void BM_ReplaceAllCommonWord(benchmark::State& state) {
    const DemoTables t = TranslatedDemo(false);
    std::vector<std::size_t> all(t.original.size());
    std::iota(all.begin(), all.end(), std::size_t{0});
    const SearchPattern pattern{"the", false, false};
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReplaceAll(t.original, all, pattern, "a"));
    }
}
BENCHMARK(BM_ReplaceAllCommonWord)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qm
