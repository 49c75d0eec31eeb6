#pragma once
// The translator's assistant for one open ROM image: the checks, the glossary,
// the suggestions and spelling, read through the image's character map and its
// project file (NAME.qmproj), in the form the window shows and takes: display
// text (markup/display.hpp), UTF-8.

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "markup/charmap.hpp"
#include "project/project_file.hpp"
#include "rom/string_table.hpp"
#include "translation/checks.hpp"
#include "translation/glossary.hpp"
#include "translation/spelling.hpp"
#include "translation/suggestions.hpp"

namespace qm {

/// The project's ignored warnings as the checks take them: each (row, name)
/// whose name is a check's (CheckNamed). A name this version does not know is
/// left out here and kept in the project. Never fails.
IgnoredWarnings IgnoredWarningsOf(const Project& project);

/// The same for row k (0-based) only: cheap enough for every keystroke.
IgnoredWarnings IgnoredWarningsOf(const Project& project, std::size_t k);

/// Makes project ignore check on row k (0-based), or no longer ignore it. The
/// project file names the check as CheckName does.
void SetWarningIgnored(Project& project, std::size_t k, Check check, bool ignored);

/// The glossary file project names, as a path to read: "" for none. A relative
/// path is taken from the folder of romPath, as the project file lies beside the
/// ROM image, so a project folder can move as a whole. Never fails.
std::string GlossaryPathOf(const Project& project, const std::string& romPath);

/// A glossary term found in a row's original, as the glossary panel shows it.
struct FoundTerm {
    std::string term;         ///< UTF-8, as the glossary writes it
    std::string translation;  ///< UTF-8: what Ctrl+1..9 inserts into the edit box
    std::string note;         ///< GlossaryNotes: the tooltip; "" when none

    bool operator==(const FoundTerm&) const = default;
};

/// The checks, the glossary's terms, suggestions and spelling of one open ROM
/// image, each made ready once so that a change of row and a keystroke only
/// look up. Its setters take a part anew (the original, the map, the glossary,
/// the dictionary); each costs a reading of the original's rows (about 2 ms for
/// 512 with a full map and a glossary), the dictionary's loading aside. Not copied or moved:
/// its checks point at its glossary and dictionary. Not for two threads at once.
class TranslationAssistant {
  public:
    /// No original, an empty map, no glossary, no dictionary.
    TranslationAssistant();
    ~TranslationAssistant();
    TranslationAssistant(const TranslationAssistant&) = delete;
    TranslationAssistant& operator=(const TranslationAssistant&) = delete;

    /// The original's rows (copied); empty when none is open: then only spelling
    /// checks, and there are neither glossary terms nor suggestions.
    void setOriginal(std::span<const StringEntry> original);
    /// The character map (copied) texts are read and shown with.
    void setMap(const CharacterMap& map);
    /// The glossary (ReadGlossary), or nothing.
    void setGlossary(std::optional<Glossary> glossary);
    /// The dictionary, or nothing; it takes project's words as its project words.
    void setSpelling(std::optional<SpellChecker> spelling, const Project& project);
    /// Adds a further source of suggestions (a PO file's or another ROM image's
    /// TranslatedPairs), named for the user; it stays through setOriginal.
    void addSuggestionSource(std::string name, std::vector<TranslatedPair> pairs);

    /// Drops the further sources of suggestions (for another ROM image's table).
    void clearSuggestionSources();

    const CharacterMap& map() const { return map_; }
    const GlossaryMatcher* glossary() const { return glossary_ ? &*glossary_ : nullptr; }
    const SpellChecker* spelling() const { return spelling_ ? &*spelling_ : nullptr; }
    /// The name of further source n (Suggestion::source, 1-based).
    const std::string& sourceName(std::size_t n) const { return sources_.at(n - 1).first; }

    /// The warnings of row k as TranslationChecks::ofRow gives them (row: rows[k],
    /// or the edit box's row as if applied), without those project ignores:
    /// messages in display text; a spelling warning's place in row's markup.
    /// About 20 µs with a full map, a glossary and a dictionary. Never fails.
    std::vector<Warning> warningsOf(std::span<const StringEntry> rows, std::size_t k,
                                    const StringEntry& row, const Project& project) const;
    /// The warnings of every row of rows, by row, without those project ignores:
    /// about 1 ms for 512 rows, 7 ms with a glossary and a dictionary.
    std::vector<Warning> warningsOf(std::span<const StringEntry> rows,
                                    const Project& project) const;

    /// The rows whose original is the same as row k's (k included; none without
    /// an original): after a change to row k, their warnings may change too.
    std::span<const std::size_t> sameOriginal(std::size_t k) const;
    /// The glossary's terms in what the player reads of the original's row k, in
    /// the order they stand there; none without a glossary or such a row.
    /// A few µs (the terms were found when the original was read). Never fails.
    std::vector<FoundTerm> termsOfRow(std::size_t k) const;

    /// Up to 5 suggestions for row k (SuggestionIndex::forRow), each text as
    /// display text and fits judged with the map. About 40 µs. Never fails.
    std::vector<Suggestion> suggestionsFor(std::span<const StringEntry> rows, std::size_t k) const;

    /// The misspelt words of a display text (the edit box's), positions and
    /// lengths in its characters, for the underline; none without a dictionary.
    /// A few µs a row. Never fails.
    std::vector<SpellingWord> misspeltIn(std::string_view display) const;
    /// The dictionary's suggestions for a word (UTF-8), best first; none without
    /// a dictionary. Takes milliseconds: for a context menu. Never fails.
    std::vector<std::string> spellingSuggestions(std::string_view word) const;
    /// "Add to project words": word (UTF-8) counts as right from now on, and
    /// project keeps it. Nothing for an empty word.
    void addProjectWord(Project& project, const std::string& word);

  private:
    void readOriginal();

    std::vector<StringEntry> original_;
    CharacterMap map_;
    ExtraLetters letters_;
    std::optional<GlossaryMatcher> glossary_;
    std::optional<SpellChecker> spelling_;
    std::vector<std::pair<std::string, std::vector<TranslatedPair>>> sources_;
    std::unique_ptr<TranslationChecks> checks_;
    std::unique_ptr<SuggestionIndex> suggestions_;
};

}  // namespace qm
