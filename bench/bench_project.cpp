// An autosave's cost on the demo: the recovery file of a table whose 512 rows
// all differ from the file (the most it can hold), serialised, and serialised
// and written atomically as the window writes it.
#include <benchmark/benchmark.h>

#include "demo/demo.hpp"
#include "fixtures/rom_builder.hpp"
#include "project/recovery.hpp"
#include "rom/load.hpp"

namespace qm {
namespace {

Recovery demoRecovery() {
    std::vector<StringEntry> rows = LoadRom(BuildDemoImage());
    Project project;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        rows[k].Text = "Translated: " + rows[k].Text;
        project.reviews[k] = {"A note on row " + std::to_string(k + 1), ReviewState::Draft};
    }
    return {"/home/me/translation/story.smc",
            4194304,
            1796000000,
            ChangedRows(rows),
            EditBoxState{16, "Rosalinds Tagebuch", 0, Colour::No, 7},
            project};
}

void BM_RecoveryTextOfTheDemo(benchmark::State& state) {
    const Recovery recovery = demoRecovery();
    for (auto _ : state) {
        benchmark::DoNotOptimize(RecoveryText(recovery));
    }
    state.SetLabel(std::to_string(recovery.rows.size()) + " rows");
}
BENCHMARK(BM_RecoveryTextOfTheDemo)->Unit(benchmark::kMillisecond);

void BM_WriteRecoveryFileOfTheDemo(benchmark::State& state) {
    const Recovery recovery = demoRecovery();
    testing::TempDir dir;
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteRecoveryFile(testing::utf8(dir.path()), recovery));
    }
}
BENCHMARK(BM_WriteRecoveryFileOfTheDemo)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qm
