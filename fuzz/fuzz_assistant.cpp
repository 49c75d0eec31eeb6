// libFuzzer target for the translator's assistant, in memory. The input read as a
// glossary either is refused with ProjectFileError or writes back to a text that
// reads to the same glossary, whose terms are then looked for in it. Read as
// markup, its dictionary words lie inside it, in order, each starting and ending
// on a letter, they are those of its display text, and its similarity to itself
// is 100 when it has words. Any failed check aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "errors.hpp"
#include "text.hpp"
#include "translation/glossary.hpp"
#include "translation/suggestions.hpp"
#include "translation/words.hpp"

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_assistant: check failed: %s\n", what);
        std::abort();
    }
}

void glossary(std::string_view text) {
    qm::Glossary read;
    try {
        read = qm::ParseGlossary(text);
    } catch (const qm::ProjectFileError&) {
        return;
    }
    check(qm::ParseGlossary(qm::GlossaryText(read)) == read, "the glossary reads back the same");
    const qm::GlossaryMatcher matcher(read);
    for (std::size_t t : matcher.termsIn(text)) {
        check(t < read.terms.size(), "a term found is a term of the glossary");
    }
}

void words(std::string_view markup) {
    qm::ExtraLetters letters;
    letters.set(0x6A, "\xC3\xA4");
    std::size_t end = 0;
    for (const qm::SpellingWord& w : qm::SpellingWords(markup, letters)) {
        check(w.position >= end && w.length > 0 && w.position + w.length <= markup.size(),
              "words lie inside the text, in order, apart");
        check(!w.word.empty() && w.word.front() != '\'' && w.word.back() != '\'',
              "a word starts and ends on a letter");
        end = w.position + w.length;
    }
    // Display text without a mapped character reads as its markup: the same
    // words, their places counted in characters instead of bytes.
    check(qm::DisplaySpellingWords(qm::Latin1ToUtf8(markup), letters) ==
              qm::SpellingWords(markup, letters),
          "display text and markup have the same words in the same places");
    const bool hasWords = !qm::MarkupWords(markup).empty();
    check(qm::SimilarityScore(markup, markup) == (hasWords ? 100 : 0), "a text is like itself");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    glossary(text);
    words(text);
    return 0;
}
