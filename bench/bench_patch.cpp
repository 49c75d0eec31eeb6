// Creating and applying patches between the pairs of 4 MiB images the
// side-by-side script compares (tests/fixtures/patch_pairs.hpp): scattered
// changes, moved blocks (in random, structured and demo data), a copier header
// added and removed, and saves of the demo image after an import, a one-word edit,
// a translation and shuffled rows.
#include <benchmark/benchmark.h>

#include <string_view>

#include "fixtures/patch_pairs.hpp"
#include "patch/patch.hpp"

namespace qm {
namespace {

const testing::PatchPair& pair(std::string_view name) {
    static const std::vector<testing::PatchPair> pairs = testing::PatchPairs();
    for (const auto& p : pairs) {
        if (p.name == name) {
            return p;
        }
    }
    throw std::logic_error("no such pair");
}

void BM_PatchCreate(benchmark::State& state, PatchFormat format, std::string_view name) {
    const auto& p = pair(name);
    for (auto _ : state) {
        benchmark::DoNotOptimize(CreatePatch(format, p.source, p.target));
    }
    state.counters["patch_bytes"] =
        static_cast<double>(CreatePatch(format, p.source, p.target).size());
}

void BM_PatchApply(benchmark::State& state, PatchFormat format, std::string_view name) {
    const auto& p = pair(name);
    const Bytes patch = CreatePatch(format, p.source, p.target);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ApplyPatch(patch, p.source));
    }
}

#define QM_PATCH_BENCH(format, id, name)                                        \
    BENCHMARK_CAPTURE(BM_PatchCreate, format##_##id, PatchFormat::format, name) \
        ->Unit(benchmark::kMillisecond);                                        \
    BENCHMARK_CAPTURE(BM_PatchApply, format##_##id, PatchFormat::format, name)  \
        ->Unit(benchmark::kMillisecond)

QM_PATCH_BENCH(Bps, Scattered, "scattered-20k");
QM_PATCH_BENCH(Bps, Moved, "moved-64k");
QM_PATCH_BENCH(Bps, StructuredMoved, "structured-moved-64k");
QM_PATCH_BENCH(Bps, DemoMoved, "demo-moved-1m");
QM_PATCH_BENCH(Bps, HeaderAdded, "header-added");
QM_PATCH_BENCH(Bps, HeaderRemoved, "header-removed");
QM_PATCH_BENCH(Bps, RowsShuffled, "rows-shuffled");
QM_PATCH_BENCH(Bps, Import200, "import-200");
QM_PATCH_BENCH(Bps, WordRow1, "word-row-1");
QM_PATCH_BENCH(Bps, Translation, "translation");
QM_PATCH_BENCH(Ips, Scattered, "scattered-20k");

}  // namespace
}  // namespace qm
