// The translator's assistant over the demo's 512 rows: suggestions for one row (on
// every change of row), the spelling of one row once the dictionary is loaded,
// and one row's checks with a glossary and spelling on (every keystroke).
#include <benchmark/benchmark.h>

#include "demo/demo.hpp"
#include "rom/load.hpp"
#include "translation/checks.hpp"
#include "translation/glossary.hpp"
#include "translation/spelling.hpp"
#include "translation/suggestions.hpp"

namespace qm {
namespace {

// The demo translated (every row: half by one German line, half changed a
// little) against the untouched demo, as bench_checks.cpp has it.
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

// Row 17: «Rosalind's diary, day 40.(return)It rained again.»
constexpr std::size_t kRow = 16;

void BM_SuggestionsForOneRow(benchmark::State& state) {
    const Tables t;
    const SuggestionIndex index(t.original);
    for (auto _ : state) {
        benchmark::DoNotOptimize(index.forRow(t.rows, kRow));
    }
}
BENCHMARK(BM_SuggestionsForOneRow)->Unit(benchmark::kMicrosecond);

void BM_ReadingTheOriginalForSuggestions(benchmark::State& state) {
    const Tables t;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SuggestionIndex(t.original));
    }
}
BENCHMARK(BM_ReadingTheOriginalForSuggestions)->Unit(benchmark::kMicrosecond);

// The system's en_US dictionary (hunspell-en-us), or nothing when there is none.
std::optional<SpellChecker> english(benchmark::State& state) {
    try {
        return SpellChecker("en_US");
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return std::nullopt;
    }
}

void BM_SpellingOfOneRow(benchmark::State& state) {
    const Tables t;
    const std::optional<SpellChecker> checker = english(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(checker->misspelt(t.original[kRow].Text));
    }
}
BENCHMARK(BM_SpellingOfOneRow)->Unit(benchmark::kMicrosecond);

void BM_ChecksOfOneRowWithGlossaryAndSpelling(benchmark::State& state) {
    const Tables t;
    const std::optional<SpellChecker> checker = english(state);
    Glossary glossary;
    for (const char* term : {"Quillmoor", "Rosalind", "diary", "library", "mill", "moor"}) {
        glossary.terms.push_back({term, std::string(term) + "-de", {}});
    }
    const GlossaryMatcher matcher(glossary);
    const TranslationChecks checks(t.original, {&matcher, checker ? &*checker : nullptr, nullptr});
    for (auto _ : state) {
        benchmark::DoNotOptimize(checks.ofRow(t.rows, kRow, t.rows[kRow]));
    }
}
BENCHMARK(BM_ChecksOfOneRowWithGlossaryAndSpelling)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qm
