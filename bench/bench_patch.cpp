// Creating and applying patches between two 4 MiB images that differ in about
// 20 KiB of the text region, as after a save that rewrote most strings.
#include <benchmark/benchmark.h>

#include "fixtures/rom_builder.hpp"
#include "patch/patch.hpp"

namespace qm {
namespace {

struct Images {
    Bytes source;
    Bytes target;
};

const Images& images() {
    static const Images built = [] {
        testing::RomBuilder builder;
        for (int n = 0; n < 500; ++n) {
            Bytes text;
            for (int k = 0; k < 8 + n % 40; ++k) {
                text.push_back(static_cast<std::uint8_t>(0x20 + (n * 11 + k * 5) % 90));
            }
            builder.addString(text);
        }
        Images made{builder.build(), builder.build()};
        for (std::size_t k = 0; k < 20 * 1024; ++k) {
            made.target[kTextRegionOffset + k] = static_cast<std::uint8_t>((k * 7 + 3) % 91);
        }
        return made;
    }();
    return built;
}

void BM_PatchCreate(benchmark::State& state, PatchFormat format) {
    const Images& im = images();
    for (auto _ : state) {
        benchmark::DoNotOptimize(CreatePatch(format, im.source, im.target));
    }
}

void BM_PatchApply(benchmark::State& state, PatchFormat format) {
    const Images& im = images();
    const Bytes patch = CreatePatch(format, im.source, im.target);
    state.counters["patch_bytes"] = static_cast<double>(patch.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(ApplyPatch(patch, im.source));
    }
}

BENCHMARK_CAPTURE(BM_PatchCreate, Bps, PatchFormat::Bps)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PatchApply, Bps, PatchFormat::Bps)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PatchCreate, Ips, PatchFormat::Ips)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PatchApply, Ips, PatchFormat::Ips)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qm
