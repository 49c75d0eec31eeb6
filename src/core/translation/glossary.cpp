#include "translation/glossary.hpp"

#include <algorithm>
#include <set>
#include <span>

#include "errors.hpp"
#include "exchange/csv.hpp"
#include "files.hpp"
#include "markup/display.hpp"
#include "preview/preview.hpp"
#include "text.hpp"

namespace qm {

namespace {

// A glossary is a few thousand terms at most; anything far larger is no glossary.
constexpr std::uintmax_t kLargestGlossaryFile = 4 * 1024 * 1024;

bool sameCaption(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameIgnoringCase);
}

// Decodes UTF-8, a byte that is none standing for U+FFFD.
std::u32string decoded(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8CharLength(text, i);
        if (length == 0) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        out += Utf8CharAt(text, i, length);
        i += length;
    }
    return out;
}

// One case for the scripts a translation of this game may use: Latin (ASCII,
// Latin-1, Latin Extended-A), Greek and Cyrillic. Other characters stay.
char32_t folded(char32_t c) {
    const bool evenUpper = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) {
        return c + 0x20;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    if ((evenUpper && c % 2 == 0) || (oddUpper && c % 2 == 1)) {
        return c + 1;
    }
    return c == 0x178 ? char32_t(0xFF) : c;
}

std::u32string foldedText(std::string_view utf8) {
    std::u32string text = decoded(utf8);
    std::transform(text.begin(), text.end(), text.begin(), folded);
    return text;
}

// Where phrase first stands in text as a whole word; npos when it does not.
std::size_t wholeWordAt(std::u32string_view text, std::u32string_view phrase) {
    if (phrase.empty()) {
        return std::u32string_view::npos;
    }
    for (std::size_t at = text.find(phrase); at != std::u32string_view::npos;
         at = text.find(phrase, at + 1)) {
        const std::size_t end = at + phrase.size();
        if ((at == 0 || !IsWordCharacter(text[at - 1])) &&
            (end == text.size() || !IsWordCharacter(text[end]))) {
            return at;
        }
    }
    return std::u32string_view::npos;
}

// Why a term or translation cannot stand in a glossary; "" when it can.
std::string whyRefused(const GlossaryTerm& term) {
    for (const auto& [text, what] :
         {std::pair{&term.term, "term"}, std::pair{&term.translation, "translation"}}) {
        if (text->empty()) {
            return std::string("the ") + what + " is empty";
        }
        if (text->find_first_of("\r\n") != std::string::npos) {
            return std::string("the ") + what + " " + Quoted(*text) + " holds a line break";
        }
    }
    return "";
}

// Adds term when it can stand in the glossary and seen (the folded terms so far)
// lacks it. Throws ProjectFileError (no line) otherwise.
void addTerm(Glossary& glossary, GlossaryTerm term, std::set<std::u32string>& seen) {
    if (const std::string why = whyRefused(term); !why.empty()) {
        throw ProjectFileError(0, why);
    }
    if (!seen.insert(foldedText(term.term)).second) {
        throw ProjectFileError(0, "the term " + Quoted(term.term) + " is in the glossary already");
    }
    term.notes.resize(glossary.noteColumns.size());
    glossary.terms.push_back(std::move(term));
}

GlossaryTerm termOfRecord(const CsvRecord& record, std::size_t noteCount) {
    const std::size_t line = std::size_t(record.line);
    if (record.fields.size() < 2) {
        throw ProjectFileError(line, "a line needs a term and a translation");
    }
    if (record.fields.size() > noteCount + 2) {
        throw ProjectFileError(line, "the line has " + std::to_string(record.fields.size()) +
                                         " fields; the header names " +
                                         std::to_string(noteCount + 2));
    }
    GlossaryTerm term{
        std::string(Trimmed(record.fields[0])), std::string(Trimmed(record.fields[1])), {}};
    term.notes.assign(record.fields.begin() + 2, record.fields.end());
    term.notes.resize(noteCount);
    return term;
}

}  // namespace

Glossary ParseGlossary(std::string_view text) {
    std::vector<CsvRecord> records;
    try {
        records = ReadCsv(text);
    } catch (const CsvError& e) {
        const std::string what = e.what();
        throw e.line() > 0
            ? ProjectFileError(std::size_t(e.line()), what.substr(what.find(", ") + 2))
            : ProjectFileError(0, what);
    }
    const auto blank = [](const CsvRecord& r) { return r.fields.empty(); };
    std::erase_if(records, blank);
    const bool header = !records.empty() && records[0].fields.size() >= 2 &&
                        sameCaption(Trimmed(records[0].fields[0]), kTermCaption) &&
                        sameCaption(Trimmed(records[0].fields[1]), kTranslationCaption);
    if (!header) {
        throw ProjectFileError(records.empty() ? 1 : std::size_t(records[0].line),
                               "the first line must be the header \"term,translation\"");
    }
    Glossary glossary;
    for (std::size_t f = 2; f < records[0].fields.size(); ++f) {
        glossary.noteColumns.emplace_back(Trimmed(records[0].fields[f]));
    }
    std::set<std::u32string> seen;
    for (std::size_t r = 1; r < records.size(); ++r) {
        try {
            addTerm(glossary, termOfRecord(records[r], glossary.noteColumns.size()), seen);
        } catch (const ProjectFileError& e) {
            throw e.line() > 0 ? e : ProjectFileError(std::size_t(records[r].line), e.what());
        }
    }
    return glossary;
}

std::string GlossaryText(const Glossary& glossary) {
    std::vector<CsvRecord> records(1);
    records[0].fields = {std::string(kTermCaption), std::string(kTranslationCaption)};
    records[0].fields.insert(records[0].fields.end(), glossary.noteColumns.begin(),
                             glossary.noteColumns.end());
    for (const GlossaryTerm& term : glossary.terms) {
        std::vector<std::string> fields = {term.term, term.translation};
        fields.insert(fields.end(), term.notes.begin(), term.notes.end());
        fields.resize(records[0].fields.size());
        records.push_back({std::move(fields), 0});
    }
    return WriteCsv(records);
}

Glossary ReadGlossary(const std::string& path) {
    const Bytes bytes = RegularFile(path).readAll(kLargestGlossaryFile);
    try {
        return ParseGlossary(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const ProjectFileError& e) {
        throw ProjectFileError("The glossary " + Quoted(path), e);
    }
}

void WriteGlossary(const std::string& path, const Glossary& glossary) {
    const std::string text = GlossaryText(glossary);
    WriteFileAtomically(path,
                        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void AddGlossaryTerm(Glossary& glossary, GlossaryTerm term) {
    std::set<std::u32string> seen;
    for (const GlossaryTerm& other : glossary.terms) {
        seen.insert(foldedText(other.term));
    }
    addTerm(glossary, std::move(term), seen);
}

std::size_t MergeGlossary(Glossary& glossary, const Glossary& from) {
    // from's note column n is glossary's column[n]; npos until a note needs it.
    std::vector<std::size_t> column;
    for (const std::string& caption : from.noteColumns) {
        const auto same = std::find_if(
            glossary.noteColumns.begin(), glossary.noteColumns.end(),
            [&caption](const std::string& other) { return sameCaption(other, caption); });
        column.push_back(same == glossary.noteColumns.end()
                             ? std::string::npos
                             : std::size_t(same - glossary.noteColumns.begin()));
    }
    std::set<std::u32string> seen;
    for (const GlossaryTerm& term : glossary.terms) {
        seen.insert(foldedText(term.term));
    }
    std::size_t taken = 0;
    for (const GlossaryTerm& term : from.terms) {
        if (!seen.insert(foldedText(term.term)).second) {
            continue;
        }
        GlossaryTerm copy{term.term, term.translation, {}};
        for (std::size_t n = 0; n < term.notes.size() && n < column.size(); ++n) {
            if (!term.notes[n].empty() && column[n] == std::string::npos) {
                column[n] = glossary.noteColumns.size();
                glossary.noteColumns.push_back(from.noteColumns[n]);
            }
            copy.notes.resize(glossary.noteColumns.size());
            if (!term.notes[n].empty()) {
                copy.notes[column[n]] = term.notes[n];
            }
        }
        glossary.terms.push_back(std::move(copy));
        ++taken;
    }
    for (GlossaryTerm& term : glossary.terms) {
        term.notes.resize(glossary.noteColumns.size());
    }
    return taken;
}

std::string GlossaryNotes(const Glossary& glossary, const GlossaryTerm& term) {
    std::string text;
    for (std::size_t n = 0; n < term.notes.size() && n < glossary.noteColumns.size(); ++n) {
        if (!term.notes[n].empty()) {
            text += (text.empty() ? "" : "\n") + glossary.noteColumns[n] + ": " + term.notes[n];
        }
    }
    return text;
}

std::string PlayerText(std::string_view markup, const CharacterMap& map) {
    return GetPreview(MarkupToDisplay(markup, map));
}

GlossaryMatcher::GlossaryMatcher(Glossary glossary) : glossary_(std::move(glossary)) {
    for (const GlossaryTerm& term : glossary_.terms) {
        terms_.push_back(foldedText(term.term));
        translations_.push_back(foldedText(term.translation));
    }
}

std::vector<std::size_t> GlossaryMatcher::termsIn(std::string_view text) const {
    const std::u32string folded = foldedText(text);
    std::vector<std::pair<std::size_t, std::size_t>> found;  // where, which
    for (std::size_t t = 0; t < terms_.size(); ++t) {
        if (const std::size_t at = wholeWordAt(folded, terms_[t]); at != std::u32string::npos) {
            found.emplace_back(at, t);
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<std::size_t> terms;
    for (const auto& [at, t] : found) {
        terms.push_back(t);
    }
    return terms;
}

bool GlossaryMatcher::translationIn(std::size_t index, std::string_view text) const {
    return wholeWordAt(foldedText(text), translations_.at(index)) != std::u32string::npos;
}

std::optional<std::string> GlossaryMatcher::check(std::span<const std::size_t> originalTerms,
                                                  std::string_view text) const {
    if (originalTerms.empty()) {
        return std::nullopt;
    }
    const std::u32string folded = foldedText(text);
    std::string message;
    for (std::size_t t : originalTerms) {
        if (t < translations_.size() &&
            wholeWordAt(folded, translations_[t]) == std::u32string::npos) {
            message += (message.empty() ? "" : "; ") + std::string("the glossary's ") +
                       Quoted(glossary_.terms[t].translation) + " for " +
                       Quoted(glossary_.terms[t].term) + " is missing";
        }
    }
    return message.empty() ? std::nullopt : std::optional(message);
}

}  // namespace qm
