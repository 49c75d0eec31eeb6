#include "exchange/table.hpp"

#include <set>

#include "errors.hpp"
#include "markup/display.hpp"
#include "markup/encoder.hpp"
#include "markup/markup.hpp"
#include "rom/layout.hpp"
#include "text.hpp"

namespace qm {

namespace {

std::string portraitNames() {
    std::string names;
    for (std::int16_t n = kPortraitMin; n <= kPortraitMax; ++n) {
        names += (names.empty() ? "" : ", ") + Quoted(GetPortraitName(n));
    }
    return names;
}

// Takes one record into row; returns what is wrong with it, "" when nothing is.
std::string applyRecord(const TableRecord& record, StringEntry& row, const CharacterMap& map) {
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
    if (record.state && !ReviewStateNamed(*record.state)) {
        refuse("the state " + Quoted(*record.state) +
               " is none of \"Draft\", \"Needs review\", \"Approved\" or \"\"");
    }
    if (record.note && FindInvalidUtf8(*record.note) != std::string::npos) {
        refuse("the note is not UTF-8 text");
    }
    if (wrong.empty() && !row.IsUnchanged()) {
        for (const MarkupProblem& p : CheckMarkup(row.Text)) {
            refuse("character " + std::to_string(DisplayPosition(row.Text, map, p.position) + 1) +
                   ": " + p.reason);
        }
    }
    return wrong;
}

// The review of a row after record was taken for it (TableImport::reviews).
RowReview reviewAfter(const RowReview& before, const TableRecord& record, bool textChanged) {
    RowReview after = before;
    // An empty cell says nothing: a file exported before a note was written or a
    // state was set must not take them away.
    if (record.note && !record.note->empty()) {
        after.note = *record.note;
    }
    const auto state = record.state ? ReviewStateNamed(*record.state) : std::nullopt;
    if (state && *state != ReviewState::None && *state != before.state) {
        after.state = *state;
    } else if (record.fuzzy == true) {
        after.state = ReviewState::NeedsReview;
    } else if (record.fuzzy == false && before.state == ReviewState::NeedsReview) {
        after.state = ReviewState::Draft;
    } else if (textChanged) {
        after.state = StateAfterTextChange(before.state);
    }
    return after;
}

// Why record cannot be taken into result.rows, "" when it can; takes it when it can.
std::string takeRecord(const TableRecord& record, std::span<const StringEntry> rows,
                       std::set<std::size_t>& seen, TableImport& result,
                       const TableContext& context) {
    if (!record.problems.empty()) {
        std::string joined;
        for (const std::string& problem : record.problems) {
            joined += (joined.empty() ? "" : "; ") + problem;
        }
        return joined;
    }
    const std::size_t k = *record.row;
    if (k >= rows.size()) {
        return "there is no row " + std::to_string(k + 1) + "; the ROM image has " +
               std::to_string(rows.size());
    }
    if (!seen.insert(k).second) {
        return "row " + std::to_string(k + 1) + " comes a second time";
    }
    if (std::string wrong = applyRecord(record, result.rows[k], MapOf(context)); !wrong.empty()) {
        result.rows[k] = rows[k];
        return wrong;
    }
    SetReview(
        result.reviews, k,
        reviewAfter(ReviewOf(result.reviews, k), record, result.rows[k].Text != rows[k].Text));
    if (record.exportedText && *record.exportedText != rows[k].Text) {
        result.notes.push_back("row " + std::to_string(k + 1) + " has changed since the export");
    }
    return "";
}

}  // namespace

std::string RefusalMessage(std::span<const TableRefusal> refusals) {
    std::vector<std::string> lines;
    for (const TableRefusal& refusal : refusals) {
        lines.push_back(refusal.message);
    }
    return ListedLines(std::to_string(refusals.size()) +
                           (refusals.size() == 1 ? " row cannot" : " rows cannot") +
                           " be taken in:",
                       lines);
}

void CheckRowCount(std::size_t count) {
    if (count > kStringCount) {
        throw TableError("The table has " + WithThousands(count) +
                         " rows; a ROM image holds at most " + std::to_string(kStringCount) + ".");
    }
}

const CharacterMap& MapOf(const TableContext& context) {
    static const CharacterMap kNone;
    return context.map != nullptr ? *context.map : kNone;
}

TableImport CheckTable(std::span<const StringEntry> rows, std::span<const TableRecord> records,
                       const TableContext& context) {
    CheckRowCount(records.size());
    TableImport result{std::vector<StringEntry>(rows.begin(), rows.end()), 0, {}, {}, {}, 0};
    const Reviews before = context.reviews != nullptr ? *context.reviews : Reviews();
    result.reviews = before;
    std::set<std::size_t> seen;
    for (const TableRecord& record : records) {
        if (record.problems.empty() && !record.row) {
            continue;
        }
        if (std::string wrong = takeRecord(record, rows, seen, result, context); !wrong.empty()) {
            result.refusals.push_back({record.row, record.where + ": " + wrong});
        }
    }
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const StringEntry& a = rows[k];
        const StringEntry& b = result.rows[k];
        if (a.Portrait != b.Portrait || a.Coloured != b.Coloured || a.Text != b.Text) {
            ++result.changed;
        }
    }
    for (std::size_t k = 0; k < rows.size(); ++k) {
        result.reviewsChanged += ReviewOf(before, k) != ReviewOf(result.reviews, k) ? 1 : 0;
    }
    if (result.notes.size() > kListedItems) {  // a note a row must not flood the user
        const std::size_t more = result.notes.size() - kListedItems;
        result.notes.resize(kListedItems);
        result.notes.push_back("... and " + std::to_string(more) + " more");
    }
    return result;
}

TableImport ApplyTable(std::span<const StringEntry> rows, std::span<const TableRecord> records,
                       const TableContext& context) {
    TableImport result = CheckTable(rows, records, context);
    if (!result.refusals.empty()) {
        throw TableError(RefusalMessage(result.refusals));
    }
    return result;
}

}  // namespace qm
