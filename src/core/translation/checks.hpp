#pragma once
// Checks of a translated row against the original's row: the faults that reach
// players (a dropped pause, a changed number, a lost "?", stray spaces, one line
// translated three ways), a glossary term rendered another way, a misspelt word.
// Warnings are a level below the problems of row_state.hpp: the row can be saved
// and fits, but may not say what the original says. One function per check; the
// window's marks, filter, jumps and counts and quillmoor-script check all take
// them from here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "markup/charmap.hpp"
#include "rom/string_table.hpp"
#include "translation/filter.hpp"
#include "translation/glossary.hpp"
#include "translation/spelling.hpp"
#include "translation/words.hpp"

namespace qm {

enum class Check : std::uint8_t {
    Codes,
    EndPunctuation,
    Digits,
    Spaces,
    Inconsistent,
    Glossary,
    Spelling
};
inline constexpr std::array<Check, 7> kChecks = {
    Check::Codes,        Check::EndPunctuation, Check::Digits,  Check::Spaces,
    Check::Inconsistent, Check::Glossary,       Check::Spelling};

/// «codes», «end-punctuation», «digits», «spaces», «inconsistent», «glossary»,
/// «spelling».
std::string_view CheckName(Check check);
/// The check of that name; nothing for any other text.
std::optional<Check> CheckNamed(std::string_view name);

/// What the checks read of one markup text, made once for all of them.
struct RowReading {
    struct Code {
        std::string text;  ///< as written: «(Pause:{A})»
        std::string key;   ///< what counts: the token's name and value, «Pause:10»
    };
    std::vector<Code> codes;         ///< (Pause:N), (TextSpeed:N), (Animation:N), in order
    std::vector<std::string> lines;  ///< what the player reads: PreviewLines with the map, UTF-8
};

/// The reading of a markup text, with map showing mapped codes as their
/// characters (so «{6A}» reads as «ä», not as the digit 6). A value counts as its
/// number, a placeholder as its value, blanks and fractions as the encoder reads
/// them; a token the encoder refuses counts as its text. Never fails.
RowReading ReadRow(std::string_view markup, const CharacterMap& map = CharacterMap());

// Each check compares a translated row's reading with the original's and returns
// its warning's message (UTF-8), or nothing when it finds no fault.

/// codes: the sequence of (Pause:N), (TextSpeed:N) and (Animation:N) tokens with
/// their values differs. «(Pause:5) of the original is missing», «(Pause:3) is not
/// in the original», or when only the order differs «the codes stand in another
/// order than the original's: (Pause:5) (Animation:1)».
std::optional<std::string> CheckCodes(const RowReading& row, const RowReading& original);
/// end-punctuation: the lines read as one (joined by a space, trailing spaces
/// ignored) end in another mark: "..", one of ". , ! ? >", or none.
/// «ends in "!" where the original ends in "?"», «ends in no mark where ...».
std::optional<std::string> CheckEndPunctuation(const RowReading& row, const RowReading& original);
/// digits: the runs of digits read, as a sequence, differ.
/// «reads the numbers 13, 11 where the original reads the numbers 12, 11»,
/// «reads no number where the original reads the number 4».
std::optional<std::string> CheckDigits(const RowReading& row, const RowReading& original);
/// spaces: a line has two spaces in a row, or starts or ends with a space, where
/// no line of the original has that. «line 2 ends with a space»; several joined by "; ".
std::optional<std::string> CheckSpaces(const RowReading& row, const RowReading& original);

/// A warning of a row.
struct Warning {
    Warning() = default;
    Warning(std::size_t row, Check check, std::string message, SpellingWord misspelt = {})
        : row(row), check(check), message(std::move(message)), misspelt(std::move(misspelt)) {}

    std::size_t row = 0;  ///< 0-based
    Check check = Check::Codes;
    std::string message;  ///< UTF-8
    /// spelling: the misspelt word and where it stands in the row's markup, for
    /// the window's underline; empty for the other checks.
    SpellingWord misspelt;

    bool operator==(const Warning&) const = default;
};

/// The (row, check) pairs a project chose to ignore, rows 0-based.
using IgnoredWarnings = std::set<std::pair<std::size_t, Check>>;

/// What the checks beyond the original's need, each optional. The glossary and
/// the spell checker are not owned: each must outlive the checks made with it.
struct CheckAids {
    /// glossary: a term of the original's row whose translation the row lacks.
    const GlossaryMatcher* glossary = nullptr;
    /// spelling: a word the dictionary and the project words do not know.
    const SpellChecker* spelling = nullptr;
    /// The character map (copied): every check reads what the player reads with
    /// it, and its letters are part of spelling's words (ExtraLetters).
    const CharacterMap* map = nullptr;
};

/// The checks of a table against one original. Reads the original once (and
/// finds the glossary's terms in it); each row's checks then cost one reading of
/// the row (for inconsistent, a look at the rows with the same original; for
/// spelling, a dictionary look-up per word): cheap enough for every keystroke.
class TranslationChecks {
  public:
    /// original: the original's rows (copied; the caller's may go); empty for a
    /// table checked on its own, which only spelling can check.
    explicit TranslationChecks(std::span<const StringEntry> original, CheckAids aids = {});

    /// The warnings of row k, in kChecks order (spelling's by word), without the
    /// ignored ones: rows is the table and row what row k holds (rows[k], or the
    /// edit box's row as if applied). A row the same as its original row gets
    /// none. The checks against the original (all but spelling) take only a
    /// translated row (portrait, colour or text differ from its original row); a
    /// row past the original's end gets none of them, but is checked for spelling.
    /// inconsistent: another translated row with the same original (portrait,
    /// colour and text) holds another translation: «row 5 translates the same
    /// original differently» (up to three rows named). glossary: the message of
    /// GlossaryMatcher::check, in what the player reads (PlayerText with the
    /// map, so a translation «Straße» matches «Stra{7C}e» where 7C=ß). spelling:
    /// one warning per misspelt word (MisspeltMessage) with the word and its
    /// place. Never fails.
    std::vector<Warning> ofRow(std::span<const StringEntry> rows, std::size_t k,
                               const StringEntry& row, const IgnoredWarnings& ignored = {}) const;

    /// ofRow of every row of rows, by row, then in kChecks order. Never fails.
    std::vector<Warning> ofTable(std::span<const StringEntry> rows,
                                 const IgnoredWarnings& ignored = {}) const;

    /// The rows, ascending, whose original is the same as row k's (k included;
    /// empty past the original's end): after a change to row k, their
    /// inconsistent warning may change too.
    std::span<const std::size_t> sameOriginal(std::size_t k) const;

    /// The glossary's terms in what the player reads of the original's row k
    /// (GlossaryMatcher::termsIn, found once); empty without a glossary or row k.
    std::span<const std::size_t> originalTerms(std::size_t k) const;

  private:
    std::vector<StringEntry> original_;
    CheckAids aids_;
    CharacterMap map_;
    ExtraLetters letters_;
    std::vector<RowReading> readings_;
    std::vector<std::vector<std::size_t>> originalTerms_;  ///< row -> glossary terms in it
    std::vector<std::vector<std::size_t>> groups_;         ///< rows with the same original
    std::vector<std::size_t> groupOf_;                     ///< row -> its index in groups_

    std::optional<std::string> inconsistent(std::span<const StringEntry> rows, std::size_t k,
                                            const StringEntry& row) const;
    void addSpelling(std::size_t k, const StringEntry& row, const IgnoredWarnings& ignored,
                     std::vector<Warning>& warnings) const;
};

struct WarningCounts {
    std::size_t warnings = 0;
    std::size_t rows = 0;  ///< rows with at least one warning
    std::array<std::size_t, kChecks.size()> byCheck{};

    bool operator==(const WarningCounts&) const = default;
};

/// The counts of warnings sorted by row (as ofTable gives them).
WarningCounts CountWarnings(std::span<const Warning> warnings);

/// The first row after `after` with a warning, as NextProblem goes (round to
/// row 0 once; from row 0 without `after`). warnings sorted by row; rowCount
/// the table's size.
RowJump NextWarning(std::span<const Warning> warnings, std::size_t rowCount,
                    std::optional<std::size_t> after);

}  // namespace qm
