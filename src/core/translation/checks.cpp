#include "translation/checks.hpp"

#include <algorithm>
#include <map>
#include <tuple>

#include "errors.hpp"
#include "markup/encoder.hpp"
#include "markup/symbols.hpp"
#include "text.hpp"
#include "translation/row_state.hpp"

namespace qm {

namespace {

constexpr std::array<std::string_view, kChecks.size()> kCheckNames = {
    "codes", "end-punctuation", "digits", "spaces", "inconsistent", "glossary", "spelling"};
constexpr std::array<std::string_view, 3> kCodeNames = {"Pause", "TextSpeed", "Animation"};

// The name of the code token text opens ("Pause"), or nothing for any other token.
std::string_view codeName(std::string_view text) {
    for (std::string_view name : kCodeNames) {
        if (text.size() > name.size() + 1 && text[0] == '(' &&
            text.substr(1, name.size()) == name && text[name.size() + 1] == ':') {
            return name;
        }
    }
    return {};
}

// The token's name and value as the encoder reads them (one reading, not two).
std::string codeKey(std::string_view name, std::string_view text) {
    try {
        const std::string bytes = StringtoQM(kPortraitNone, Colour::Unset, text);
        if (bytes.size() == 3) {
            return std::string(name) + ":" + std::to_string(static_cast<unsigned char>(bytes[1]));
        }
    } catch (const EncodeError&) {
    }
    return std::string(text);
}

// What the player reads as one text: the lines joined by a space, trailing spaces gone.
std::string joined(const RowReading& reading) {
    std::string text;
    for (const std::string& line : reading.lines) {
        text += (&line == &reading.lines.front() ? "" : " ") + line;
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

std::string endMark(const std::string& text) {
    if (text.ends_with("..")) {
        return "..";
    }
    if (!text.empty() && std::string_view(".,!?>").find(text.back()) != std::string_view::npos) {
        return std::string(1, text.back());
    }
    return "";
}

std::vector<std::string> digitRuns(const std::string& text) {
    std::vector<std::string> runs;
    bool inRun = false;
    for (char c : text) {
        if (IsDigit(c) && !inRun) {
            runs.emplace_back();
        }
        inRun = IsDigit(c);
        if (inRun) {
            runs.back() += c;
        }
    }
    return runs;
}

std::string numbers(const std::vector<std::string>& runs) {
    if (runs.empty()) {
        return "no number";
    }
    std::string text = runs.size() == 1 ? "the number " : "the numbers ";
    for (const std::string& run : runs) {
        text += (&run == &runs.front() ? "" : ", ") + run;
    }
    return text;
}

// The first line (1-based) with each fault, as spaces reports them.
struct SpaceFaults {
    std::array<std::size_t, 3> firstLine{};  // two in a row, at the start, at the end; 0: none
};
constexpr std::array<std::string_view, 3> kSpaceFaultTexts = {
    " has two spaces in a row", " starts with a space", " ends with a space"};

SpaceFaults spaceFaults(const std::vector<std::string>& lines) {
    SpaceFaults faults;
    for (std::size_t n = lines.size(); n > 0; --n) {
        const std::string& line = lines[n - 1];
        const bool found[] = {line.find("  ") != std::string::npos, line.starts_with(' '),
                              line.ends_with(' ')};
        for (std::size_t f = 0; f < faults.firstLine.size(); ++f) {
            faults.firstLine[f] = found[f] ? n : faults.firstLine[f];
        }
    }
    return faults;
}

std::string joinedParts(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        text += (&part == &parts.front() ? "" : "; ") + part;
    }
    return text;
}

}  // namespace

std::string_view CheckName(Check check) {
    return kCheckNames[static_cast<std::size_t>(check)];
}

std::optional<Check> CheckNamed(std::string_view name) {
    const auto at = std::find(kCheckNames.begin(), kCheckNames.end(), name);
    return at == kCheckNames.end() ? std::nullopt
                                   : std::optional(kChecks[std::size_t(at - kCheckNames.begin())]);
}

RowReading ReadRow(std::string_view markup, const CharacterMap& map) {
    RowReading reading;
    for (const MarkupToken& token : MarkupTokens(markup)) {
        const std::string_view text = markup.substr(token.position, token.length);
        if (const std::string_view name = codeName(text); !name.empty()) {
            reading.codes.push_back({std::string(text), codeKey(name, text)});
        }
    }
    reading.lines = PreviewLines(markup, map);
    return reading;
}

std::optional<std::string> CheckCodes(const RowReading& row, const RowReading& original) {
    const auto sameKey = [](const auto& a, const auto& b) { return a.key == b.key; };
    if (std::equal(row.codes.begin(), row.codes.end(), original.codes.begin(), original.codes.end(),
                   sameKey)) {
        return std::nullopt;
    }
    std::vector<bool> matched(row.codes.size());
    std::vector<std::string> parts;
    for (const RowReading::Code& code : original.codes) {
        std::size_t i = 0;
        while (i < row.codes.size() && (matched[i] || row.codes[i].key != code.key)) {
            ++i;
        }
        if (i < row.codes.size()) {
            matched[i] = true;
        } else {
            parts.push_back(Latin1ToUtf8(code.text) + " of the original is missing");
        }
    }
    for (std::size_t i = 0; i < row.codes.size(); ++i) {
        if (!matched[i]) {
            parts.push_back(Latin1ToUtf8(row.codes[i].text) + " is not in the original");
        }
    }
    if (parts.empty()) {
        std::string order = "the codes stand in another order than the original's:";
        for (const RowReading::Code& code : original.codes) {
            order += " " + Latin1ToUtf8(code.text);
        }
        parts.push_back(order);
    }
    return joinedParts(parts);
}

std::optional<std::string> CheckEndPunctuation(const RowReading& row, const RowReading& original) {
    const std::string mark = endMark(joined(row));
    const std::string originalMark = endMark(joined(original));
    if (mark == originalMark) {
        return std::nullopt;
    }
    const auto named = [](const std::string& m) { return m.empty() ? "no mark" : Quoted(m); };
    return "ends in " + named(mark) + " where the original ends in " + named(originalMark);
}

std::optional<std::string> CheckDigits(const RowReading& row, const RowReading& original) {
    const auto runs = digitRuns(joined(row));
    const auto originalRuns = digitRuns(joined(original));
    if (runs == originalRuns) {
        return std::nullopt;
    }
    return "reads " + numbers(runs) + " where the original reads " + numbers(originalRuns);
}

std::optional<std::string> CheckSpaces(const RowReading& row, const RowReading& original) {
    const SpaceFaults faults = spaceFaults(row.lines);
    const SpaceFaults originalFaults = spaceFaults(original.lines);
    std::vector<std::string> parts;
    for (std::size_t f = 0; f < kSpaceFaultTexts.size(); ++f) {
        if (faults.firstLine[f] != 0 && originalFaults.firstLine[f] == 0) {
            parts.push_back("line " + std::to_string(faults.firstLine[f]) +
                            std::string(kSpaceFaultTexts[f]));
        }
    }
    return parts.empty() ? std::nullopt : std::optional(joinedParts(parts));
}

TranslationChecks::TranslationChecks(std::span<const StringEntry> original, CheckAids aids)
    : original_(original.begin(), original.end()),
      aids_(aids),
      map_(aids.map != nullptr ? *aids.map : CharacterMap()),
      letters_(map_) {
    std::map<std::tuple<std::int16_t, Colour, std::string_view>, std::size_t> groupNamed;
    for (std::size_t k = 0; k < original_.size(); ++k) {
        const StringEntry& o = original_[k];
        readings_.push_back(ReadRow(o.Text, map_));
        const auto [at, added] =
            groupNamed.try_emplace({o.Portrait, o.Coloured, o.Text}, groups_.size());
        if (added) {
            groups_.emplace_back();
        }
        groups_[at->second].push_back(k);
        groupOf_.push_back(at->second);
        if (aids_.glossary != nullptr) {
            originalTerms_.push_back(aids_.glossary->termsIn(PlayerText(o.Text, map_)));
        }
    }
}

std::vector<Warning> TranslationChecks::ofRow(std::span<const StringEntry> rows, std::size_t k,
                                              const StringEntry& row,
                                              const IgnoredWarnings& ignored) const {
    std::vector<Warning> warnings;
    const bool compared = k < original_.size();
    if (compared && SameAsOriginal(row, original_[k])) {
        return warnings;
    }
    const auto add = [&](Check check, std::optional<std::string> message) {
        if (message && !ignored.contains({k, check})) {
            warnings.push_back({k, check, std::move(*message)});
        }
    };
    if (compared) {
        const RowReading reading = ReadRow(row.Text, map_);
        const RowReading& original = readings_[k];
        add(Check::Codes, CheckCodes(reading, original));
        add(Check::EndPunctuation, CheckEndPunctuation(reading, original));
        add(Check::Digits, CheckDigits(reading, original));
        add(Check::Spaces, CheckSpaces(reading, original));
        add(Check::Inconsistent, inconsistent(rows, k, row));
        if (aids_.glossary != nullptr) {
            add(Check::Glossary,
                aids_.glossary->check(originalTerms_[k], PlayerText(row.Text, map_)));
        }
    }
    addSpelling(k, row, ignored, warnings);
    return warnings;
}

void TranslationChecks::addSpelling(std::size_t k, const StringEntry& row,
                                    const IgnoredWarnings& ignored,
                                    std::vector<Warning>& warnings) const {
    if (aids_.spelling == nullptr || ignored.contains({k, Check::Spelling})) {
        return;
    }
    for (SpellingWord& w : aids_.spelling->misspelt(row.Text, letters_)) {
        std::string message = MisspeltMessage(*aids_.spelling, w.word);
        warnings.emplace_back(k, Check::Spelling, std::move(message), std::move(w));
    }
}

std::vector<Warning> TranslationChecks::ofTable(std::span<const StringEntry> rows,
                                                const IgnoredWarnings& ignored) const {
    std::vector<Warning> warnings;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        std::vector<Warning> found = ofRow(rows, k, rows[k], ignored);
        std::move(found.begin(), found.end(), std::back_inserter(warnings));
    }
    return warnings;
}

std::span<const std::size_t> TranslationChecks::sameOriginal(std::size_t k) const {
    return k < groupOf_.size() ? std::span<const std::size_t>(groups_[groupOf_[k]])
                               : std::span<const std::size_t>();
}

std::span<const std::size_t> TranslationChecks::originalTerms(std::size_t k) const {
    return k < originalTerms_.size() ? std::span<const std::size_t>(originalTerms_[k])
                                     : std::span<const std::size_t>();
}

// One row named for each other translation of the same original.
std::optional<std::string> TranslationChecks::inconsistent(std::span<const StringEntry> rows,
                                                           std::size_t k,
                                                           const StringEntry& row) const {
    std::vector<std::size_t> others;
    for (std::size_t j : sameOriginal(k)) {
        const bool other = j != k && j < rows.size() && !SameAsOriginal(rows[j], original_[j]) &&
                           !SameAsOriginal(rows[j], row);
        if (other && std::none_of(others.begin(), others.end(), [&](std::size_t seen) {
                return SameAsOriginal(rows[j], rows[seen]);
            })) {
            others.push_back(j);
        }
    }
    if (others.empty()) {
        return std::nullopt;
    }
    constexpr std::size_t kNamed = 3;
    std::string text = others.size() == 1 ? "row " : "rows ";
    for (std::size_t i = 0; i < others.size() && i < kNamed; ++i) {
        const bool last = i + 1 == others.size();
        text += (i == 0 ? "" : last ? " and " : ", ") + std::to_string(others[i] + 1);
    }
    if (others.size() > kNamed) {
        text += " and " + std::to_string(others.size() - kNamed) + " more";
    }
    return text + (others.size() == 1 ? " translates" : " translate") +
           " the same original differently";
}

WarningCounts CountWarnings(std::span<const Warning> warnings) {
    WarningCounts counts;
    for (std::size_t i = 0; i < warnings.size(); ++i) {
        ++counts.warnings;
        ++counts.byCheck[static_cast<std::size_t>(warnings[i].check)];
        counts.rows += i == 0 || warnings[i - 1].row != warnings[i].row ? 1 : 0;
    }
    return counts;
}

RowJump NextWarning(std::span<const Warning> warnings, std::size_t rowCount,
                    std::optional<std::size_t> after) {
    std::vector<bool> warned(rowCount);
    for (const Warning& warning : warnings) {
        if (warning.row < rowCount) {
            warned[warning.row] = true;
        }
    }
    const std::size_t first = after && *after < rowCount ? *after + 1 : 0;
    for (std::size_t at = first; at < first + rowCount; ++at) {
        if (warned[at % rowCount]) {
            return {at % rowCount, at >= rowCount};
        }
    }
    return {};
}

}  // namespace qm
