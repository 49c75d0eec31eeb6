#include "project/assistant.hpp"

#include "markup/display.hpp"
#include "markup/symbols.hpp"

namespace qm {

namespace {

bool isAbsolute(std::string_view path) {
    const bool drive = path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
    return path.starts_with('/') || path.starts_with('\\') || drive;
}

}  // namespace

IgnoredWarnings IgnoredWarningsOf(const Project& project) {
    IgnoredWarnings ignored;
    for (const IgnoredWarning& w : project.ignoredWarnings) {
        if (const auto check = CheckNamed(w.check)) {
            ignored.insert({w.row, *check});
        }
    }
    return ignored;
}

IgnoredWarnings IgnoredWarningsOf(const Project& project, std::size_t k) {
    IgnoredWarnings ignored;
    const auto& all = project.ignoredWarnings;
    for (auto at = all.lower_bound({k, ""}); at != all.end() && at->row == k; ++at) {
        if (const auto check = CheckNamed(at->check)) {
            ignored.insert({k, *check});
        }
    }
    return ignored;
}

void SetWarningIgnored(Project& project, std::size_t k, Check check, bool ignored) {
    IgnoredWarning item{k, std::string(CheckName(check))};
    if (ignored) {
        project.ignoredWarnings.insert(std::move(item));
    } else {
        project.ignoredWarnings.erase(item);
    }
}

std::string GlossaryPathOf(const Project& project, const std::string& romPath) {
    if (project.glossary.empty() || isAbsolute(project.glossary)) {
        return project.glossary;
    }
    const std::size_t slash = romPath.find_last_of("/\\");
    return slash == std::string::npos ? project.glossary
                                      : romPath.substr(0, slash + 1) + project.glossary;
}

TranslationAssistant::TranslationAssistant() {
    setOriginal({});
}

TranslationAssistant::~TranslationAssistant() = default;

void TranslationAssistant::setOriginal(std::span<const StringEntry> original) {
    original_.assign(original.begin(), original.end());
    suggestions_ = std::make_unique<SuggestionIndex>(original_);
    for (const auto& [name, pairs] : sources_) {
        suggestions_->addSource(name, pairs);
    }
    readOriginal();
}

void TranslationAssistant::setMap(const CharacterMap& map) {
    map_ = map;
    letters_ = ExtraLetters(map_);
    readOriginal();
}

void TranslationAssistant::setGlossary(std::optional<Glossary> glossary) {
    glossary_.reset();
    if (glossary) {
        glossary_.emplace(std::move(*glossary));
    }
    readOriginal();
}

void TranslationAssistant::setSpelling(std::optional<SpellChecker> spelling,
                                       const Project& project) {
    spelling_ = std::move(spelling);
    if (spelling_) {
        const std::vector<std::string> words(project.projectWords.begin(),
                                             project.projectWords.end());
        spelling_->setProjectWords(words);
    }
    readOriginal();
}

void TranslationAssistant::addSuggestionSource(std::string name,
                                               std::vector<TranslatedPair> pairs) {
    suggestions_->addSource(name, pairs);
    sources_.emplace_back(std::move(name), std::move(pairs));
}

void TranslationAssistant::clearSuggestionSources() {
    sources_.clear();
    suggestions_ = std::make_unique<SuggestionIndex>(original_);
}

// The checks point at the glossary and the dictionary and read the original
// with the map: any of them changed, they are made anew.
void TranslationAssistant::readOriginal() {
    checks_ =
        std::make_unique<TranslationChecks>(original_, CheckAids{glossary(), spelling(), &map_});
}

std::vector<Warning> TranslationAssistant::warningsOf(std::span<const StringEntry> rows,
                                                      std::size_t k, const StringEntry& row,
                                                      const Project& project) const {
    return checks_->ofRow(rows, k, row, IgnoredWarningsOf(project, k));
}

std::vector<Warning> TranslationAssistant::warningsOf(std::span<const StringEntry> rows,
                                                      const Project& project) const {
    return checks_->ofTable(rows, IgnoredWarningsOf(project));
}

std::span<const std::size_t> TranslationAssistant::sameOriginal(std::size_t k) const {
    return checks_ ? checks_->sameOriginal(k) : std::span<const std::size_t>();
}

std::vector<FoundTerm> TranslationAssistant::termsOfRow(std::size_t k) const {
    std::vector<FoundTerm> found;
    for (std::size_t t : checks_->originalTerms(k)) {
        const GlossaryTerm& term = glossary_->glossary().terms[t];
        found.push_back({term.term, term.translation, GlossaryNotes(glossary_->glossary(), term)});
    }
    return found;
}

std::vector<Suggestion> TranslationAssistant::suggestionsFor(std::span<const StringEntry> rows,
                                                             std::size_t k) const {
    std::vector<Suggestion> found = suggestions_->forRow(rows, k, map_);
    for (Suggestion& suggestion : found) {
        suggestion.text = MarkupToDisplay(suggestion.text, map_);
    }
    return found;
}

std::vector<SpellingWord> TranslationAssistant::misspeltIn(std::string_view display) const {
    if (!spelling_) {
        return {};
    }
    std::vector<SpellingWord> words = DisplaySpellingWords(display, letters_);
    std::erase_if(words, [this](const SpellingWord& w) { return spelling_->correct(w.word); });
    return words;
}

std::vector<std::string> TranslationAssistant::spellingSuggestions(std::string_view word) const {
    return spelling_ ? spelling_->suggestions(word) : std::vector<std::string>();
}

void TranslationAssistant::addProjectWord(Project& project, const std::string& word) {
    if (word.empty()) {
        return;
    }
    project.projectWords.insert(word);
    if (spelling_) {
        spelling_->addProjectWord(word);
    }
}

}  // namespace qm
