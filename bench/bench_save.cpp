// Save ROM: the whole save of 512 rows into a 4 MiB image (encode, lay out, read,
// atomic write with fsync), and the encode-and-lay-out part alone.
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
    DemoRom() {
        auto file = dir.path() / "demo.smc";
        qm::testing::writeFile(file, qm::BuildDemoImage());
        path = file.string();
        rows = qm::LoadRom(path);
    }
};

void BM_SaveRom512Rows4MiB(benchmark::State& state) {
    DemoRom rom;
    if (rom.rows.size() != 512) {
        state.SkipWithError("the demo image does not have 512 rows");
        return;
    }
    for (auto _ : state) {
        qm::SaveRom(rom.path, rom.rows);
    }
}
BENCHMARK(BM_SaveRom512Rows4MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EncodeAndLayOut512Rows(benchmark::State& state) {
    DemoRom rom;
    for (auto _ : state) {
        auto laidOut = qm::LayOutRows(rom.rows);
        benchmark::DoNotOptimize(laidOut);
    }
}
BENCHMARK(BM_EncodeAndLayOut512Rows)->Unit(benchmark::kMicrosecond);

void BM_EncodeAndLayOut512RowsWithProgress(benchmark::State& state) {
    DemoRom rom;
    std::size_t calls = 0;
    for (auto _ : state) {
        auto laidOut = qm::LayOutRows(rom.rows, [&](std::string_view) { ++calls; });
        benchmark::DoNotOptimize(laidOut);
    }
    benchmark::DoNotOptimize(calls);
}
BENCHMARK(BM_EncodeAndLayOut512RowsWithProgress)->Unit(benchmark::kMicrosecond);

}  // namespace
