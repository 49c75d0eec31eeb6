#include "rom/string_table.hpp"

#include <algorithm>
#include <cmath>
#include <random>

#include "markup/helpers.hpp"
#include "markup/markup.hpp"
#include "markup/text_settings.hpp"
#include "rom/reader.hpp"

namespace qm {

const std::string& columnText(const StringEntry& row, int column) {
    switch (column) {
        case kColNumber: return row.Number;
        case kColPortrait: return row.Portrait;
        case kColText: return row.Text;
        case kColColoured: return row.Coloured;
        default: return row.PointerValue;
    }
}

std::string& columnText(StringEntry& row, int column) {
    return const_cast<std::string&>(columnText(static_cast<const StringEntry&>(row), column));
}

std::string ParsingStatus(double r) {
    const int dots = std::clamp(static_cast<int>(std::floor(3 * r)), 0, 2);
    return "Parsing ROM Strings And Adding to String Table" + std::string(dots, '.');
}

namespace {

// Removes count characters at at, or fewer where the text ends.
void removeAt(std::string& t, std::size_t at, std::size_t count) {
    t.erase(at, std::min(count, t.size() - at));
}

std::string colouredColumn(const std::string& t, std::size_t marker) {
    if (marker + 1 >= t.size()) {
        return "";
    }
    switch (t[marker + 1]) {
        case '0': return "No";
        case '1': return "Yes";
        default: return "";
    }
}

std::string portraitColumn(char byte) {
    switch (byte) {
        case '0': return "Rosalind";
        case '1': return "Ms. Edna";
        case '2': return "Mr. Thorley";
        case '3': return "Hilde";
        case '4': return "Ivy";
        case '5': return "Greta";
        default: return "?";
    }
}

// Reads the first colour marker into the row and takes it out of t.
void takeColour(std::string& t, StringEntry& row) {
    const auto marker = t.find('^');
    if (marker == std::string::npos) {
        row.Coloured = "?";
        return;
    }
    row.Coloured = colouredColumn(t, marker);
    removeAt(t, marker, 2);
}

// Reads the first portrait marker into the row and takes it out of t.
void takePortrait(std::string& t, StringEntry& row) {
    const auto marker = t.find('%');
    if (marker == std::string::npos) {
        row.Portrait = "None";
        return;
    }
    if (t.compare(marker + 1, 3, "{A}") == 0) {
        row.Portrait = "Mad Ms. Edna";
        removeAt(t, marker, 4);
        return;
    }
    row.Portrait = marker + 1 < t.size() ? portraitColumn(t[marker + 1]) : "?";
    removeAt(t, marker, 2);
}

// Later setting markers carry no meaning; each goes with the one character after
// it (so a later «%{A}» leaves «A}»).
void removeOtherSettings(std::string& t) {
    for (;;) {
        auto marker = t.find('^');
        if (marker == std::string::npos) {
            marker = t.find('%');
        }
        if (marker == std::string::npos) {
            return;
        }
        removeAt(t, marker, 2);
    }
}

StringEntry buildRow(std::size_t k, std::string& slot) {
    StringEntry row;
    row.Number = std::to_string(k);
    const auto colon = slot.find(':');
    const std::string origin = slot.substr(0, colon);
    slot = origin + ":" + TextSettings(slot.substr(colon + 1));
    std::string t = slot.substr(origin.size() + 1);
    takeColour(t, row);
    takePortrait(t, row);
    removeOtherSettings(t);
    row.Text = Good(t);
    const long o = std::stol(origin);
    const long pointer = o + (k == 1 ? kPointerBase : kPointerBase + 1);
    row.PointerValue = GetHex(static_cast<std::int16_t>(static_cast<std::uint16_t>(pointer)));
    return row;
}

}  // namespace

std::vector<StringEntry> UpdateStringtable(std::vector<std::string>& RomStrings,
                                           const ProgressFn& progress, const RandomFn& random) {
    std::vector<StringEntry> rows;
    if (RomStrings.size() <= 1) {
        return rows;
    }
    rows.reserve(RomStrings.size() - 1);
    std::mt19937 generator(std::random_device{}());
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    for (std::size_t k = 1; k < RomStrings.size(); ++k) {
        if (progress) {
            progress(ParsingStatus(random ? random() : uniform(generator)));
        }
        rows.push_back(buildRow(k, RomStrings[k]));
    }
    return rows;
}

std::vector<StringEntry> LoadStringTable(const std::string& path) {
    const RomText text = ReadRomText(path);
    auto strings = IsolateRomStrings(text.TextBlock);
    return UpdateStringtable(strings);
}

}  // namespace qm
