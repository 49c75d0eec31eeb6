#include "rom/string_table.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <random>

#include "markup/encoder.hpp"
#include "markup/markup.hpp"
#include "markup/text_settings.hpp"
#include "rom/layout.hpp"

namespace qm {

bool StringEntry::IsUnchanged() const {
    return !Loaded.bytes.empty() && Portrait == Loaded.portrait && Coloured == Loaded.coloured &&
           Text == Loaded.text;
}

bool SameContent(const StringEntry& a, const StringEntry& b) {
    return a.Portrait == b.Portrait && a.Coloured == b.Coloured && a.Text == b.Text;
}

std::string SettingsCodes(const StringEntry& row) {
    const LoadedForm& loaded = row.Loaded;
    const std::size_t colour = loaded.coloured == Colour::Unset ? 0 : 2;
    const bool fromFile =
        !loaded.bytes.empty() && colour <= loaded.codes && loaded.codes <= loaded.bytes.size();
    std::string codes = fromFile && row.Coloured == loaded.coloured ? loaded.bytes.substr(0, colour)
                                                                    : ColourCode(row.Coloured);
    codes += fromFile && row.Portrait == loaded.portrait
                 ? loaded.bytes.substr(colour, loaded.codes - colour)
                 : PortraitCode(row.Portrait);
    return codes;
}

std::string EncodedBytes(const StringEntry& row) {
    return row.IsUnchanged() ? row.Loaded.bytes : EncodeWithCodes(SettingsCodes(row), row.Text);
}

void MarkSaved(std::span<StringEntry> rows) {
    for (StringEntry& row : rows.first(std::min(rows.size(), kStringCount))) {
        if (!row.IsUnchanged()) {
            const std::string codes = SettingsCodes(row);
            row.Loaded = {EncodeWithCodes(codes, row.Text), row.Portrait, row.Coloured, row.Text,
                          codes.size()};
        }
    }
}

std::string ColumnText(const StringEntry& row, std::size_t index, int column) {
    switch (column) {
        case kColNumber: return std::to_string(index + 1);
        case kColPortrait: return GetPortraitName(row.Portrait);
        case kColText: return row.Text;
        case kColColoured: return std::string(ColourName(row.Coloured));
        default: return GetHex(static_cast<std::int16_t>(row.Pointer));
    }
}

namespace {

std::size_t parsingDots(double r) {
    return static_cast<std::size_t>(std::clamp(static_cast<int>(std::floor(3 * r)), 0, 2));
}

}  // namespace

std::string ParsingStatus(double r) {
    return "Parsing ROM Strings And Adding to String Table" + std::string(parsingDots(r), '.');
}

namespace {

// Removes count characters at at, or fewer where the text ends.
void removeAt(std::string& t, std::size_t at, std::size_t count) {
    t.erase(at, std::min(count, t.size() - at));
}

// The characters of the argument after the marker at t[at]: 3 for a one-letter
// placeholder, otherwise 1 (0 at the end of the text).
std::size_t argumentLength(const std::string& t, std::size_t at) {
    if (t.compare(at + 1, 1, "{") == 0 && t.compare(at + 3, 1, "}") == 0) {
        return 3;
    }
    return at + 1 < t.size() ? 1 : 0;
}

// The portrait a portrait marker's argument names.
std::int16_t portraitOf(const std::string& t, std::size_t marker) {
    if (t.compare(marker + 1, 3, "{A}") == 0) {
        return PortraitOfByte(10);
    }
    const char argument = marker + 1 < t.size() ? t[marker + 1] : '\0';
    // Only the digits of bytes 0-5 can name a portrait; "6".."9" and the rest are "?".
    return argument >= '0' && argument <= '5' ? PortraitOfByte(argument - '0') : kPortraitUnknown;
}

// Reads the colour code, then the portrait code, at the very start of t into the
// row and takes them out; returns how many bytes they were. Each marker goes with
// one character after it, «%{A}» with three.
std::size_t takeSettings(std::string& t, StringEntry& row) {
    const bool colour = t.starts_with('^');
    const std::size_t portraitAt = colour ? 1 + argumentLength(t, 0) : 0;
    const bool portrait = t.compare(portraitAt, 1, "%") == 0;
    if (portrait) {
        row.Portrait = portraitOf(t, portraitAt);
        removeAt(t, portraitAt, row.Portrait == PortraitOfByte(10) ? 4 : 2);
    }
    if (colour) {
        const char argument = t.size() > 1 ? t[1] : '\0';
        row.Coloured = argument == '0' ? Colour::No : argument == '1' ? Colour::Yes : Colour::Other;
        removeAt(t, 0, 2);
    }
    return (colour ? 2 : 0) + (portrait ? 2 : 0);
}

// A colour or portrait code anywhere else is no setting of the row: its digit
// goes back to a bare control digit, which Good writes in byte form («{5}{1}»),
// so that it is seen, and kept by an edit.
void unmarkOtherSettings(std::string& t) {
    std::replace(t.begin(), t.end(), '^', '5');
    std::replace(t.begin(), t.end(), '%', '4');
}

// The string's bytes in the region, from its first byte to its terminator.
std::string bytesFrom(std::span<const std::uint8_t> textBlock, std::size_t start) {
    const auto begin = textBlock.begin() + static_cast<std::ptrdiff_t>(start);
    const auto end = std::find(begin, textBlock.end(), kTerminator);
    return std::string(begin, end == textBlock.end() ? end : end + 1);
}

StringEntry buildRow(std::size_t k, std::string& slot, std::span<const std::uint8_t> textBlock) {
    StringEntry row;
    const auto colon = slot.find(':');
    const std::string origin = slot.substr(0, colon);
    slot = origin + ":" + TextSettings(slot.substr(colon + 1));
    std::string t = slot.substr(origin.size() + 1);
    const std::size_t codes = takeSettings(t, row);
    unmarkOtherSettings(t);
    row.Text = Good(t);
    // The first string starts at offset 0; every later one right after the
    // terminator whose offset is its origin number.
    const std::size_t start = k == 1 ? 0 : std::stoul(origin) + 1;
    row.Pointer = static_cast<std::uint16_t>(kPointerBase + start);
    row.Loaded = {bytesFrom(textBlock, start), row.Portrait, row.Coloured, row.Text, codes};
    return row;
}

}  // namespace

std::vector<StringEntry> UpdateStringtable(std::vector<std::string>& RomStrings,
                                           std::span<const std::uint8_t> TextBlock,
                                           const ProgressFn& progress, const RandomFn& random) {
    std::vector<StringEntry> rows;
    if (RomStrings.size() <= 1) {
        return rows;
    }
    rows.reserve(RomStrings.size() - 1);
    // The dots are cosmetic; a seeded generator only when someone sees them, and
    // seeded from the clock: opening std::random_device costs more than the dots.
    std::optional<std::minstd_rand> generator;
    if (progress && !random) {
        generator.emplace(static_cast<std::minstd_rand::result_type>(
            std::chrono::steady_clock::now().time_since_epoch().count()));
    }
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    // The three texts made once, not once a row.
    const std::string texts[] = {ParsingStatus(0.5 / 3), ParsingStatus(1.5 / 3),
                                 ParsingStatus(2.5 / 3)};
    for (std::size_t k = 1; k < RomStrings.size(); ++k) {
        if (progress) {
            progress(texts[parsingDots(random ? random() : uniform(*generator))]);
        }
        rows.push_back(buildRow(k, RomStrings[k], TextBlock));
    }
    return rows;
}

}  // namespace qm
