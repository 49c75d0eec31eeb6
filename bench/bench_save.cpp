// Save ROM: the whole save of 512 rows into a 4 MiB image (encode, lay out, read,
// atomic write with fsync), and the encode-and-lay-out part alone; every row
// edited (each one encoded) and none edited (each one a copy of its bytes).
#include <benchmark/benchmark.h>

#include "demo/demo.hpp"
#include "fixtures/rom_builder.hpp"
#include "rom/load.hpp"
#include "save/writer.hpp"

namespace {

struct DemoRom {
    qm::testing::TempDir dir;
    std::string path;
    std::vector<qm::StringEntry> rows;
    explicit DemoRom(bool edited) {
        auto file = dir.path() / "demo.smc";
        qm::testing::writeFile(file, qm::BuildDemoImage());
        path = file.string();
        rows = qm::LoadRom(path);
        if (edited) {
            for (auto& row : rows) {
                row.Loaded = {};  // as if typed anew: the encoder writes it
            }
        }
    }
};

void BM_SaveRom512EditedRows4MiB(benchmark::State& state) {
    DemoRom rom(true);
    for (auto _ : state) {
        qm::SaveRom(rom.path, rom.rows);
    }
}
BENCHMARK(BM_SaveRom512EditedRows4MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LayOut512Rows(benchmark::State& state) {
    DemoRom rom(state.range(0) == 1);
    for (auto _ : state) {
        auto laidOut = qm::LayOutRows(rom.rows);
        benchmark::DoNotOptimize(laidOut);
    }
    state.SetLabel(state.range(0) == 1 ? "every row edited" : "no row edited");
}
BENCHMARK(BM_LayOut512Rows)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_LayOut512EditedRowsWithProgress(benchmark::State& state) {
    DemoRom rom(true);
    std::size_t calls = 0;
    for (auto _ : state) {
        auto laidOut = qm::LayOutRows(rom.rows, [&](std::string_view) { ++calls; });
        benchmark::DoNotOptimize(laidOut);
    }
    benchmark::DoNotOptimize(calls);
}
BENCHMARK(BM_LayOut512EditedRowsWithProgress)->Unit(benchmark::kMicrosecond);

}  // namespace
