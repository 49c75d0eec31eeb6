// The spell checker over Hunspell.
#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <optional>
#include <set>

#include "errors.hpp"
#include "files.hpp"
#include "markup/symbols.hpp"
#include "text.hpp"
#include "translation/spelling.hpp"

namespace qm {

namespace {

// «en-US» reads as «en_US»; anything but letters, digits and "_" is refused, so
// that a name never leads out of a dictionary folder.
std::string languageName(const std::string& language) {
    std::string name = language;
    std::replace(name.begin(), name.end(), '-', '_');
    const bool good =
        !name.empty() && name.size() <= 64 && std::all_of(name.begin(), name.end(), [](char c) {
            return IsAsciiLetter(c) || IsDigit(c) || c == '_';
        });
    if (!good) {
        throw SpellingError(Quoted(language) + " is no language name such as en_US or de_DE");
    }
    return name;
}

std::string joined(std::span<const std::string> items) {
    std::string text;
    for (const std::string& item : items) {
        text += (text.empty() ? "" : ", ") + item;
    }
    return text;
}

// The folder of folders that holds NAME.aff and NAME.dic.
std::string dictionaryFolder(const std::string& name, std::span<const std::string> folders) {
    for (const std::string& folder : folders) {
        const std::string base = folder + "/" + name;
        if (ResolveFile(base + ".aff").isRegular && ResolveFile(base + ".dic").isRegular) {
            return folder;
        }
    }
    const std::vector<std::string> found = DictionaryLanguages(folders);
    throw SpellingError("No dictionary for " + Quoted(name) + ": none of " + joined(folders) +
                        " holds " + name + ".aff and " + name +
                        ".dic (on Debian, install the language's hunspell package, such as "
                        "hunspell-en-us). " +
                        (found.empty() ? std::string("No dictionary was found at all.")
                                       : "Dictionaries found: " + joined(found) + "."));
}

bool ascii(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
}

}  // namespace

struct SpellChecker::Impl {
    enum class Encoding : std::uint8_t { Utf8, Latin1, Other };

    std::string language;
    std::string base;  // the dictionary's files without .aff and .dic
    std::unique_ptr<Hunspell> hunspell;
    Encoding encoding = Encoding::Utf8;
    std::vector<std::string> projectWords;  // sorted

    void load() {
        hunspell = std::make_unique<Hunspell>((base + ".aff").c_str(), (base + ".dic").c_str());
        const std::string& name = hunspell->get_dict_encoding();
        encoding = name == "UTF-8"       ? Encoding::Utf8
                   : name == "ISO8859-1" ? Encoding::Latin1
                                         : Encoding::Other;
    }
    // A UTF-8 word in the dictionary's encoding, or nothing when it cannot hold it.
    std::optional<std::string> encoded(std::string_view utf8) const {
        if (encoding == Encoding::Latin1) {
            try {
                return Utf8ToLatin1(utf8);
            } catch (const TextError&) {
                return std::nullopt;
            }
        }
        return encoding == Encoding::Utf8 || ascii(utf8) ? std::optional(std::string(utf8))
                                                         : std::nullopt;
    }
    // A word in the dictionary's encoding in UTF-8, or nothing when it is not sure.
    std::optional<std::string> decoded(const std::string& word) const {
        if (encoding == Encoding::Latin1) {
            return Latin1ToUtf8(word);
        }
        return encoding == Encoding::Utf8 || ascii(word) ? std::optional(word) : std::nullopt;
    }
};

bool SpellingAvailable() {
    return true;
}

SpellChecker::SpellChecker(const std::string& language)
    : SpellChecker(language, DictionaryFolders()) {}

SpellChecker::SpellChecker(const std::string& language, std::span<const std::string> folders)
    : impl_(std::make_unique<Impl>()) {
    impl_->language = languageName(language);
    impl_->base = dictionaryFolder(impl_->language, folders) + "/" + impl_->language;
    // Hunspell reads with fopen and says nothing when it cannot: open each file first.
    RegularFile(impl_->base + ".aff");
    RegularFile(impl_->base + ".dic");
    impl_->load();
}

SpellChecker::~SpellChecker() = default;
SpellChecker::SpellChecker(SpellChecker&&) noexcept = default;
SpellChecker& SpellChecker::operator=(SpellChecker&&) noexcept = default;

const std::string& SpellChecker::language() const {
    return impl_->language;
}

bool SpellChecker::correct(std::string_view word) const {
    const std::optional<std::string> encoded = impl_->encoded(word);
    if (!encoded || impl_->hunspell->spell(*encoded)) {
        return true;
    }
    // «Rosalind's», «Edna'll»: the glyph's ending after a word that is right.
    const std::size_t apostrophe = word.rfind('\'');
    if (apostrophe == std::string_view::npos || apostrophe == 0) {
        return false;
    }
    return IsContractionEnding(word.substr(apostrophe + 1)) && correct(word.substr(0, apostrophe));
}

std::vector<std::string> SpellChecker::suggestions(std::string_view word) const {
    std::vector<std::string> found;
    if (const std::optional<std::string> encoded = impl_->encoded(word)) {
        for (const std::string& suggestion : impl_->hunspell->suggest(*encoded)) {
            if (std::optional<std::string> utf8 = impl_->decoded(suggestion)) {
                found.push_back(std::move(*utf8));
            }
        }
    }
    return found;
}

void SpellChecker::setProjectWords(std::span<const std::string> words) {
    const std::set<std::string> wanted(words.begin(), words.end());
    // Hunspell's remove() forbids a word rather than forgetting it, which would
    // forbid a dictionary word once it was a project word: load anew instead.
    if (!std::includes(wanted.begin(), wanted.end(), impl_->projectWords.begin(),
                       impl_->projectWords.end())) {
        impl_->load();
        impl_->projectWords.clear();
    }
    for (const std::string& word : wanted) {
        addProjectWord(word);
    }
}

void SpellChecker::addProjectWord(const std::string& word) {
    std::vector<std::string>& words = impl_->projectWords;
    const auto at = std::lower_bound(words.begin(), words.end(), word);
    if (word.empty() || (at != words.end() && *at == word)) {
        return;
    }
    words.insert(at, word);
    if (const auto encoded = impl_->encoded(word)) {
        impl_->hunspell->add(*encoded);
    }
}

const std::vector<std::string>& SpellChecker::projectWords() const {
    return impl_->projectWords;
}

}  // namespace qm
