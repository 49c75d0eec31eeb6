#pragma once
// Spelling of the translation with Hunspell's dictionaries (the ones Debian's
// hunspell-LANG packages install, LibreOffice's and Firefox's alike). Words are
// what the player reads (translation/words.hpp); a translation project's own
// names are its project words. A build without Hunspell (the Windows tool) has
// every call but the constructor's, which says so.

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "translation/words.hpp"

namespace qm {

/// Whether this build checks spelling: false where it was built without Hunspell.
bool SpellingAvailable();

/// The folders where dictionaries are looked for, in order: each folder the
/// DICPATH environment variable names (as Hunspell's own tools read it, ":"
/// between folders; ";" on Windows), then /usr/share/hunspell,
/// /usr/local/share/hunspell, /usr/share/myspell and /usr/share/myspell/dicts.
std::vector<std::string> DictionaryFolders();

/// The languages that folders hold a dictionary of (NAME.aff beside NAME.dic),
/// sorted, each once: «de_DE», «en_US», «fr». Folders that cannot be read are
/// passed over. Never fails.
std::vector<std::string> DictionaryLanguages(std::span<const std::string> folders);

/// A loaded dictionary and the project's own words. Loading takes a while (a
/// quarter of a second for a large dictionary); checking a word takes
/// microseconds, so a row can be checked on every keystroke. Suggestions take
/// longer and are for a context menu. Not for use from two threads at once.
class SpellChecker {
  public:
    /// Loads the dictionary of language («en_US»; «en-US» reads as the same)
    /// from the first of DictionaryFolders() that holds it.
    explicit SpellChecker(const std::string& language);
    /// The same from the first of folders that holds it. Throws SpellingError
    /// when language is no name of one (letters, digits, "_" and "-" only), when
    /// no folder holds its two files (the message names the folders and the
    /// languages they hold), and in a build without Hunspell; FileError when a
    /// file cannot be read.
    SpellChecker(const std::string& language, std::span<const std::string> folders);
    ~SpellChecker();
    SpellChecker(SpellChecker&&) noexcept;
    SpellChecker& operator=(SpellChecker&&) noexcept;

    /// The language as its files are named: «en_US».
    const std::string& language() const;

    /// Whether a word (UTF-8, as SpellingWords gives it) is spelt right: the
    /// dictionary knows it (in its capitalisation rules), it is a project word,
    /// or it ends in a contraction glyph («'s», «'ll», «'t», ...) after a word
    /// that is one of those («Rosalind's» when «Rosalind» is a project word).
    /// A word the dictionary's encoding cannot hold counts as right. Never fails.
    bool correct(std::string_view word) const;

    /// The dictionary's suggestions for a word (UTF-8), best first; none for a
    /// word the dictionary's encoding cannot hold. Takes milliseconds. Never fails.
    std::vector<std::string> suggestions(std::string_view word) const;

    /// The project's own words (UTF-8): they count as spelt right, in the
    /// dictionary's capitalisation rules («Rosalind» also allows «ROSALIND»).
    /// Replaces the words set before.
    void setProjectWords(std::span<const std::string> words);
    /// Adds one project word (the window's "Add to project words").
    void addProjectWord(const std::string& word);
    /// The project words, sorted, each once.
    const std::vector<std::string>& projectWords() const;

    /// The words of a markup text that are not spelt right (SpellingWords, then
    /// correct), left to right. Never fails.
    std::vector<SpellingWord> misspelt(std::string_view markup,
                                       const ExtraLetters& letters = {}) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

/// The message of the spelling warning of word: «"Moorr" is not in the en_US
/// dictionary».
std::string MisspeltMessage(const SpellChecker& checker, std::string_view word);

/// The words of a project-words file: one a line (UTF-8; a byte order mark and
/// CR LF line ends are read), blanks around a word dropped, blank lines and lines
/// starting with "#" skipped. Throws ProjectFileError with the line for bytes
/// that are not UTF-8 and for a line holding two words.
std::vector<std::string> ParseWordList(std::string_view text);

/// ParseWordList of the file at path (at most 4 MiB). Throws FileError, and
/// ProjectFileError with «The word list "path"» in front of its reason.
std::vector<std::string> ReadWordList(const std::string& path);

}  // namespace qm
