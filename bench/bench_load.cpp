// Loading a ROM image's text and encoding the whole table again.
#include <benchmark/benchmark.h>

#include "fixtures/rom_builder.hpp"
#include "markup/encoder.hpp"
#include "markup/portraits.hpp"
#include "rom/demo.hpp"
#include "rom/reader.hpp"
#include "rom/string_table.hpp"

namespace qm {
namespace {

// Read both areas from a 4 MiB file, split the region, build all 512 rows.
void BM_LoadDemoImage(benchmark::State& state) {
    testing::TempDir dir;
    const auto path = dir.path() / "demo.smc";
    testing::writeFile(path, BuildDemoImage());
    for (auto _ : state) {
        const RomText text = ReadRomText(path.string());
        auto slots = IsolateRomStrings(text.TextBlock);
        auto rows = UpdateStringtable(slots);
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
        const RomText text = ReadRomText(path.string(), progress);
        auto slots = IsolateRomStrings(text.TextBlock, progress);
        auto rows = UpdateStringtable(slots, progress);
        benchmark::DoNotOptimize(rows.data());
    }
    benchmark::DoNotOptimize(seen);
}
BENCHMARK(BM_LoadDemoImageWithProgress)->Unit(benchmark::kMillisecond);

void BM_EncodeAllRows(benchmark::State& state) {
    auto slots = IsolateRomStrings(ReadRomText(BuildDemoImage()).TextBlock);
    const auto rows = UpdateStringtable(slots);
    for (auto _ : state) {
        std::size_t total = 0;
        for (const auto& row : rows) {
            total += StringtoQM(GetPortraitNumber(row.Portrait), row.Coloured, row.Text).size();
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_EncodeAllRows)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qm
