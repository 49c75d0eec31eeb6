// Spelling in a build without Hunspell, which Debian does not build for Windows:
// no spell checker can be made, and the constructor says so.
#include "errors.hpp"
#include "translation/spelling.hpp"

namespace qm {

struct SpellChecker::Impl {
    std::string language;
    std::vector<std::string> projectWords;
};

bool SpellingAvailable() {
    return false;
}

SpellChecker::SpellChecker(const std::string& language)
    : SpellChecker(language, DictionaryFolders()) {}

SpellChecker::SpellChecker(const std::string&, std::span<const std::string>) {
    throw SpellingError("Spelling is not available in this build: it was built without Hunspell.");
}

SpellChecker::~SpellChecker() = default;
SpellChecker::SpellChecker(SpellChecker&&) noexcept = default;
SpellChecker& SpellChecker::operator=(SpellChecker&&) noexcept = default;

// No object exists, so none of these is ever called.
const std::string& SpellChecker::language() const {
    return impl_->language;
}

bool SpellChecker::correct(std::string_view) const {
    return true;
}

std::vector<std::string> SpellChecker::suggestions(std::string_view) const {
    return {};
}

void SpellChecker::setProjectWords(std::span<const std::string>) {}

void SpellChecker::addProjectWord(const std::string&) {}

const std::vector<std::string>& SpellChecker::projectWords() const {
    return impl_->projectWords;
}

}  // namespace qm
