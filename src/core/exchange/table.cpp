#include "exchange/table.hpp"

#include <set>

#include "errors.hpp"
#include "markup/encoder.hpp"
#include "markup/markup.hpp"
#include "rom/layout.hpp"
#include "text.hpp"

namespace qm {

namespace {

// The most refusals a message lists before it says how many more there are.
constexpr std::size_t kListedRefusals = 20;

std::string portraitNames() {
    std::string names;
    for (std::int16_t n = kPortraitMin; n <= kPortraitMax; ++n) {
        names += (names.empty() ? "" : ", ") + Quoted(GetPortraitName(n));
    }
    return names;
}

// Takes one record into row; returns what is wrong with it, "" when nothing is.
std::string applyRecord(const TableRecord& record, StringEntry& row) {
    std::string wrong;
    const auto refuse = [&](const std::string& why) { wrong += (wrong.empty() ? "" : "; ") + why; };
    if (record.portrait) {
        if (const auto number = GetPortraitNumber(*record.portrait)) {
            row.Portrait = *number;
        } else {
            refuse(Quoted(Latin1ToUtf8(*record.portrait)) + " is no portrait; the portraits are " +
                   portraitNames());
        }
    }
    if (record.coloured) {
        const auto colour = ColourFromName(*record.coloured);
        if (colour && (*colour != Colour::Other || row.Loaded.coloured == Colour::Other)) {
            row.Coloured = *colour;
        } else {
            refuse("the colour " + Quoted(Latin1ToUtf8(*record.coloured)) +
                   " is none of \"Yes\", \"No\" or \"?\"");
        }
    }
    if (record.text) {
        row.Text = LineBreaksAsReturns(*record.text);
    }
    if (wrong.empty() && !row.IsUnchanged()) {
        for (const MarkupProblem& p : CheckMarkup(row.Text)) {
            refuse("character " + std::to_string(p.position + 1) + ": " + p.reason);
        }
    }
    return wrong;
}

// «N rows cannot be taken in:» and the refusals, one a line, the first
// kListedRefusals of them, then «... and M more».
std::string RefusalList(std::span<const std::string> refusals) {
    std::string message = std::to_string(refusals.size()) +
                          (refusals.size() == 1 ? " row cannot" : " rows cannot") + " be taken in:";
    for (std::size_t i = 0; i < refusals.size() && i < kListedRefusals; ++i) {
        message += "\n" + refusals[i];
    }
    if (refusals.size() > kListedRefusals) {
        message += "\n... and " + std::to_string(refusals.size() - kListedRefusals) + " more";
    }
    return message;
}

}  // namespace

TableImport ApplyTable(std::span<const StringEntry> rows, std::span<const TableRecord> records) {
    if (records.size() > kStringCount) {
        throw TableError("The table has " + WithThousands(records.size()) +
                         " rows; a ROM image holds at most " + std::to_string(kStringCount) + ".");
    }
    TableImport result{std::vector<StringEntry>(rows.begin(), rows.end()), 0, {}};
    std::vector<std::string> refusals;
    std::set<std::size_t> seen;
    for (const TableRecord& record : records) {
        if (!record.problems.empty()) {
            std::string joined;
            for (const std::string& problem : record.problems) {
                joined += (joined.empty() ? "" : "; ") + problem;
            }
            refusals.push_back(record.where + ": " + joined);
            continue;
        }
        if (!record.row) {
            continue;
        }
        const std::size_t k = *record.row;
        if (k >= rows.size()) {
            refusals.push_back(record.where + ": there is no row " + std::to_string(k + 1) +
                               "; the ROM image has " + std::to_string(rows.size()));
            continue;
        }
        if (!seen.insert(k).second) {
            refusals.push_back(record.where + ": row " + std::to_string(k + 1) +
                               " comes a second time");
            continue;
        }
        if (const std::string wrong = applyRecord(record, result.rows[k]); !wrong.empty()) {
            refusals.push_back(record.where + ": " + wrong);
        }
        if (record.exportedText && *record.exportedText != rows[k].Text) {
            result.notes.push_back("row " + std::to_string(k + 1) +
                                   " has changed since the export");
        }
    }
    if (!refusals.empty()) {
        throw TableError(RefusalList(refusals));
    }
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const StringEntry& a = rows[k];
        const StringEntry& b = result.rows[k];
        if (a.Portrait != b.Portrait || a.Coloured != b.Coloured || a.Text != b.Text) {
            ++result.changed;
        }
    }
    return result;
}

}  // namespace qm
