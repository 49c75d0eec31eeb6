#pragma once
// A glossary: the names and terms a translation must render the same way every
// time, kept per ROM image in a CSV file a spreadsheet can edit («term,translation»,
// then notes). The window shows the terms of the selected row's original and
// inserts their translations; the glossary check warns where one is missing.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "markup/charmap.hpp"

namespace qm {

/// The first two columns' captions of a glossary file.
inline constexpr std::string_view kTermCaption = "term";
inline constexpr std::string_view kTranslationCaption = "translation";

struct GlossaryTerm {
    std::string term;                ///< UTF-8, as the original reads it: «Quillmoor»
    std::string translation;         ///< UTF-8, as the translation must read it
    std::vector<std::string> notes;  ///< UTF-8, one per note column (missing ones empty)

    bool operator==(const GlossaryTerm&) const = default;
};

struct Glossary {
    std::vector<std::string> noteColumns;  ///< the header's captions after the first two
    std::vector<GlossaryTerm> terms;       ///< in file order

    bool operator==(const Glossary&) const = default;
};

/// The glossary of a CSV text (the CSV rules of exchange/csv.hpp: UTF-8, a byte
/// order mark and CRLF or LF line ends read): a header whose first two captions
/// are "term" and "translation" (any case, blanks around them ignored), further
/// captions naming note columns, then a term a line. Blank lines are skipped and
/// blanks around a term or translation are dropped. Throws ProjectFileError with
/// the line and the reason for text that is no CSV, a first line that is no such
/// header, a line with fewer than two fields or more than the header has, an
/// empty term or translation, one that holds a line break, and a term that an
/// earlier line has (in any case).
Glossary ParseGlossary(std::string_view text);

/// The CSV text of a glossary (WriteCsv: CRLF line ends, no byte order mark):
/// the header «term,translation» with the note columns, then a line per term.
/// ParseGlossary gives the same glossary back.
std::string GlossaryText(const Glossary& glossary);

/// ParseGlossary of the file at path (at most 4 MiB). Throws FileError, and
/// ProjectFileError with «The glossary "path"» in front of its reason.
Glossary ReadGlossary(const std::string& path);

/// Writes GlossaryText(glossary) to path atomically. Throws FileError.
void WriteGlossary(const std::string& path, const Glossary& glossary);

/// Adds a term at the end (the window's "add a term from a selection"). Throws
/// ProjectFileError (no line) for an empty term or translation, one that holds a
/// line break, and a term the glossary has already (in any case); the glossary
/// is then as it was.
void AddGlossaryTerm(Glossary& glossary, GlossaryTerm term);

/// Takes the terms of from into glossary (the window's glossary import): each
/// term glossary lacks (in any case, as AddGlossaryTerm compares) goes at the
/// end, its notes under the note column of the same caption (any case; a caption
/// glossary lacks becomes a column of its own at the end, once a taken term has
/// a note under it). The terms glossary has stay as they are. Returns how many
/// terms it took. Never fails.
std::size_t MergeGlossary(Glossary& glossary, const Glossary& from);

/// A term's notes as a tooltip shows them: «Caption: note» lines (LF between),
/// empty notes left out; "" when it has none.
std::string GlossaryNotes(const Glossary& glossary, const GlossaryTerm& term);

/// What the player reads of a markup text, as the glossary compares it: the
/// preview's text with every "(return)" a space (GetPreview) of its display text
/// (MarkupToDisplay), so a mapped code reads as its character: UTF-8. Never fails.
std::string PlayerText(std::string_view markup, const CharacterMap& map = CharacterMap());

/// A glossary made ready for matching: each term and translation folded to one
/// case once, so that the panel (on a change of row) and the check (on every
/// keystroke) only search. Holds a copy of the glossary.
class GlossaryMatcher {
  public:
    explicit GlossaryMatcher(Glossary glossary);

    const Glossary& glossary() const { return glossary_; }

    /// The indices of the terms that stand in text (UTF-8, what the player reads:
    /// PlayerText) as whole words in any case, in the order they first stand there
    /// (glossary order for terms that start at the same place). Whole word: no
    /// letter or digit (IsWordCharacter) right before or after. Never fails.
    std::vector<std::size_t> termsIn(std::string_view text) const;

    /// Whether the translation of term index stands in text by the same rule.
    bool translationIn(std::size_t index, std::string_view text) const;

    /// The glossary check of one row: for each term that originalText holds
    /// (indices as termsIn gives them), whether text holds its translation. The
    /// warning's message, or nothing: «the glossary's "Federmoor" for "Quillmoor"
    /// is missing», several joined by "; ". Both texts UTF-8, as PlayerText gives
    /// them. Never fails.
    std::optional<std::string> check(std::span<const std::size_t> originalTerms,
                                     std::string_view text) const;

  private:
    Glossary glossary_;
    std::vector<std::u32string> terms_;  ///< folded
    std::vector<std::u32string> translations_;
};

}  // namespace qm
