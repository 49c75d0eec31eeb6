// The cost of a character map: loading a ROM image with a map of every free
// code beside it (the list then shows every row as display text), and what one
// keystroke in the edit box costs with the map (the row read back into markup,
// its problems, its preview and state).
#include <benchmark/benchmark.h>

#include "demo/demo.hpp"
#include "demo_tables.hpp"
#include "fixtures/rom_builder.hpp"
#include "markup/display.hpp"
#include "preview/preview.hpp"
#include "project/charmap_file.hpp"
#include "rom/load.hpp"
#include "text.hpp"
#include "translation/row_state.hpp"

namespace qm {
namespace {

void BM_LoadDemoImageWithFullCharacterMap(benchmark::State& state) {
    testing::TempDir dir;
    const auto path = dir.path() / "demo.smc";
    testing::writeFile(path, BuildDemoImage());
    const std::string text = CharacterMapText(FullCharacterMap());
    testing::writeFile(dir.path() / "demo.tbl", Bytes(text.begin(), text.end()));
    for (auto _ : state) {
        auto rows = LoadRom(path.string());
        const CharacterMap map = ReadCharacterMapBeside(path.string()).value();
        std::size_t shown = 0;
        for (const StringEntry& row : rows) {
            shown += MarkupToDisplay(row.Text, map).size();
        }
        benchmark::DoNotOptimize(shown);
    }
    state.SetLabel(std::to_string(FullCharacterMap().size()) + " codes");
}
BENCHMARK(BM_LoadDemoImageWithFullCharacterMap)->Unit(benchmark::kMillisecond);

// One keystroke in a row of 41 characters that shows mapped ones.
void BM_KeystrokeWithCharacterMap(benchmark::State& state) {
    const CharacterMap map = FullCharacterMap();
    StringEntry row = LoadRom(BuildDemoImage())[23];
    const std::string display = MarkupToDisplay(row.Text, map) + "x";
    for (auto _ : state) {
        row.Text = DisplayToMarkup(display, map);
        benchmark::DoNotOptimize(CheckDisplay(display, map));
        benchmark::DoNotOptimize(OverflowRanges(DecodeUtf8(DisplayPreviewText(row.Text, map))));
        benchmark::DoNotOptimize(StateOf(row, nullptr, map));
    }
}
BENCHMARK(BM_KeystrokeWithCharacterMap)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qm
