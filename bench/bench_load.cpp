// Loading a ROM image's text and encoding the whole table again.
#include <benchmark/benchmark.h>

#include "demo/demo.hpp"
#include "fixtures/rom_builder.hpp"
#include "markup/encoder.hpp"
#include "rom/load.hpp"

namespace qm {
namespace {

// Read both areas from a 4 MiB file, split the region, build all 512 rows.
void BM_LoadDemoImage(benchmark::State& state) {
    testing::TempDir dir;
    const auto path = dir.path() / "demo.smc";
    testing::writeFile(path, BuildDemoImage());
    for (auto _ : state) {
        auto rows = LoadRom(path.string());
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_LoadDemoImage)->Unit(benchmark::kMillisecond);

// The same load with a progress receiver that, like the window, looks at every
// report.
void BM_LoadDemoImageWithProgress(benchmark::State& state) {
    testing::TempDir dir;
    const auto path = dir.path() / "demo.smc";
    testing::writeFile(path, BuildDemoImage());
    std::size_t seen = 0;
    const ProgressFn progress = [&](std::string_view s) { seen += s.size(); };
    for (auto _ : state) {
        auto rows = LoadRom(path.string(), progress);
        benchmark::DoNotOptimize(rows.data());
    }
    benchmark::DoNotOptimize(seen);
}
BENCHMARK(BM_LoadDemoImageWithProgress)->Unit(benchmark::kMillisecond);

void BM_EncodeAllRows(benchmark::State& state) {
    const auto rows = LoadRom(BuildDemoImage());
    for (auto _ : state) {
        std::size_t total = 0;
        for (const auto& row : rows) {
            total += StringtoQM(row.Portrait, row.Coloured, row.Text).size();
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_EncodeAllRows)->Unit(benchmark::kMicrosecond);

// What a save does for rows nobody touched: a copy of the loaded bytes.
void BM_EncodedBytesOfUntouchedRows(benchmark::State& state) {
    const auto rows = LoadRom(BuildDemoImage());
    for (auto _ : state) {
        std::size_t total = 0;
        for (const auto& row : rows) {
            total += EncodedBytes(row).size();
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_EncodedBytesOfUntouchedRows)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qm
