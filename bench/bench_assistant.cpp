// The translator's assistant over the demo's 512 rows: suggestions for one row (on
// every change of row), the spelling of one row once the dictionary is loaded,
// and one row's checks with a glossary and spelling on (every keystroke); then the
// same through TranslationAssistant with every free code mapped, as the window
// calls it.
#include <benchmark/benchmark.h>

#include "demo/demo.hpp"
#include "demo_tables.hpp"
#include "markup/display.hpp"
#include "project/assistant.hpp"
#include "rom/load.hpp"
#include "translation/checks.hpp"
#include "translation/glossary.hpp"
#include "translation/spelling.hpp"
#include "translation/suggestions.hpp"

namespace qm {
namespace {

// Row 17: «Rosalind's diary, day 40.(return)It rained again.»
constexpr std::size_t kRow = 16;

void BM_SuggestionsForOneRow(benchmark::State& state) {
    const DemoTables t = TranslatedDemo(true);
    const SuggestionIndex index(t.original);
    for (auto _ : state) {
        benchmark::DoNotOptimize(index.forRow(t.rows, kRow));
    }
}
BENCHMARK(BM_SuggestionsForOneRow)->Unit(benchmark::kMicrosecond);

void BM_ReadingTheOriginalForSuggestions(benchmark::State& state) {
    const DemoTables t = TranslatedDemo(true);
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
    const DemoTables t = TranslatedDemo(true);
    const std::optional<SpellChecker> checker = english(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(checker->misspelt(t.original[kRow].Text));
    }
}
BENCHMARK(BM_SpellingOfOneRow)->Unit(benchmark::kMicrosecond);

void BM_ChecksOfOneRowWithGlossaryAndSpelling(benchmark::State& state) {
    const DemoTables t = TranslatedDemo(true);
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

Glossary demoGlossary() {
    Glossary glossary;
    for (const char* term : {"Quillmoor", "Rosalind", "diary", "library", "mill", "moor"}) {
        glossary.terms.push_back({term, std::string(term) + "-de", {}});
    }
    return glossary;
}

// The assistant as the window holds it: the demo as the original, a full map, a
// project, and unless withoutAids a glossary and the en_US dictionary.
struct Assisted {
    DemoTables t = TranslatedDemo(true);
    Project project;
    TranslationAssistant assistant;

    explicit Assisted(benchmark::State& state, bool withoutAids = false) {
        project.projectWords = {"Quillmoor", "Rosalind"};
        assistant.setMap(FullCharacterMap());
        if (!withoutAids) {
            assistant.setGlossary(demoGlossary());
            assistant.setSpelling(english(state), project);
        }
        assistant.setOriginal(t.original);
    }
};

void BM_AssistantKeystroke(benchmark::State& state) {
    const Assisted a(state);
    const std::string display = MarkupToDisplay(a.t.rows[kRow].Text, a.assistant.map());
    for (auto _ : state) {
        benchmark::DoNotOptimize(a.assistant.warningsOf(a.t.rows, kRow, a.t.rows[kRow], a.project));
        benchmark::DoNotOptimize(a.assistant.misspeltIn(display));
    }
}
BENCHMARK(BM_AssistantKeystroke)->Unit(benchmark::kMicrosecond);

void BM_AssistantChangeOfRow(benchmark::State& state) {
    const Assisted a(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a.assistant.termsOfRow(kRow));
        benchmark::DoNotOptimize(a.assistant.suggestionsFor(a.t.rows, kRow));
    }
}
BENCHMARK(BM_AssistantChangeOfRow)->Unit(benchmark::kMicrosecond);

// Argument 0: the map alone; 1: with the glossary and the dictionary.
void BM_AssistantWarningsOfAllRows(benchmark::State& state) {
    const Assisted a(state, state.range(0) == 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(a.assistant.warningsOf(a.t.rows, a.project));
    }
}
BENCHMARK(BM_AssistantWarningsOfAllRows)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_AssistantReadingTheOriginal(benchmark::State& state) {
    Assisted a(state);
    for (auto _ : state) {
        a.assistant.setOriginal(a.t.original);
    }
}
BENCHMARK(BM_AssistantReadingTheOriginal)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qm
