// What spelling does the same with or without Hunspell: where dictionaries are,
// project-word files, and a row's misspelt words.
#include "translation/spelling.hpp"

#include <algorithm>
#include <cstdlib>

#include "errors.hpp"
#include "files.hpp"
#include "text.hpp"

namespace qm {

namespace {

constexpr std::uintmax_t kLargestWordList = 4 * 1024 * 1024;

#ifdef _WIN32
constexpr char kPathSeparator = ';';
#else
constexpr char kPathSeparator = ':';
#endif

}  // namespace

std::vector<std::string> DictionaryFolders() {
    std::vector<std::string> folders;
    if (const char* dicpath = std::getenv("DICPATH")) {
        std::string_view rest = dicpath;
        while (!rest.empty()) {
            const std::string_view folder = rest.substr(0, rest.find(kPathSeparator));
            if (!folder.empty()) {
                folders.emplace_back(folder);
            }
            rest.remove_prefix(std::min(rest.size(), folder.size() + 1));
        }
    }
    for (const char* folder : {"/usr/share/hunspell", "/usr/local/share/hunspell",
                               "/usr/share/myspell", "/usr/share/myspell/dicts"}) {
        folders.emplace_back(folder);
    }
    return folders;
}

std::vector<std::string> DictionaryLanguages(std::span<const std::string> folders) {
    std::vector<std::string> languages;
    for (const std::string& folder : folders) {
        std::vector<std::string> names = FileNamesIn(folder);
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            const std::string stem = name.substr(0, name.rfind('.'));
            if (name.ends_with(".aff") &&
                std::binary_search(names.begin(), names.end(), stem + ".dic")) {
                languages.push_back(stem);
            }
        }
    }
    std::sort(languages.begin(), languages.end());
    languages.erase(std::unique(languages.begin(), languages.end()), languages.end());
    return languages;
}

std::vector<SpellingWord> SpellChecker::misspelt(std::string_view markup,
                                                 const ExtraLetters& letters) const {
    std::vector<SpellingWord> words = SpellingWords(markup, letters);
    std::erase_if(words, [this](const SpellingWord& w) { return correct(w.word); });
    return words;
}

std::string MisspeltMessage(const SpellChecker& checker, std::string_view word) {
    return Quoted(word) + " is not in the " + checker.language() + " dictionary";
}

std::vector<std::string> ParseWordList(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    std::vector<std::string> words;
    std::size_t line = 1;
    for (std::size_t start = 0; start <= text.size(); ++line) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view raw = text.substr(start, end - start);
        if (raw.ends_with('\r')) {
            raw.remove_suffix(1);
        }
        if (FindInvalidUtf8(raw) != std::string_view::npos) {
            throw ProjectFileError(line, "bytes that are not valid UTF-8");
        }
        const std::string word(Trimmed(raw));
        if (word.empty() || word.starts_with('#')) {
            start = end + 1;
            continue;
        }
        if (word.find_first_of(" \t\r") != std::string::npos) {
            throw ProjectFileError(line, Quoted(word) + " is more than one word: give one a line");
        }
        words.push_back(word);
        start = end + 1;
    }
    return words;
}

std::vector<std::string> ReadWordList(const std::string& path) {
    const Bytes bytes = RegularFile(path).readAll(kLargestWordList);
    try {
        return ParseWordList(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const ProjectFileError& e) {
        throw ProjectFileError("The word list " + Quoted(path), e);
    }
}

}  // namespace qm
