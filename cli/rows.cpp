#include "rows.hpp"

#include "project/project_file.hpp"
#include "save/copy_name.hpp"
#include "save/writer.hpp"

#include <charconv>
#include <numeric>
#include <string_view>

#include "io.hpp"
#include "text.hpp"

namespace qm::cli {

namespace {

// A 1-based row number; nothing unless the whole text is one.
std::optional<std::size_t> number(std::string_view text) {
    std::size_t n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    return error == std::errc() && end == text.data() + text.size() && n > 0
               ? std::optional<std::size_t>(n)
               : std::nullopt;
}

// The 0-based rows of a list such as «3,7,10-20,500-» (1-based, "500-" running to
// the last row); nothing when it is no such list or names a row the table lacks.
std::optional<std::vector<std::size_t>> rowList(std::string_view list, std::size_t rowCount) {
    std::vector<std::size_t> rows;
    while (true) {
        const std::string_view item = list.substr(0, list.find(','));
        const std::size_t dash = item.find('-');
        const auto first = number(item.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first
                          : dash + 1 == item.size()      ? std::optional(rowCount)
                                                         : number(item.substr(dash + 1));
        if (!first || !last || *first > *last || *last > rowCount) {
            return std::nullopt;
        }
        for (std::size_t n = *first; n <= *last; ++n) {
            rows.push_back(n - 1);
        }
        if (item.size() == list.size()) {
            return rows;
        }
        list.remove_prefix(item.size() + 1);
    }
}

}  // namespace

std::optional<std::vector<std::size_t>> RowsOption(const std::string& list, std::size_t rowCount) {
    if (list.empty()) {
        std::vector<std::size_t> all(rowCount);
        std::iota(all.begin(), all.end(), std::size_t{0});
        return all;
    }
    auto rows = rowList(list, rowCount);
    if (!rows) {
        Fail("--rows " + Quoted(list) + " is no list of rows from 1 to " +
             std::to_string(rowCount) + " such as 3,7,10-20");
    }
    return rows;
}

std::string SaveEditedRows(const std::string& rom, const LoadedRom& loaded,
                           std::span<const StringEntry> rows, std::span<const std::size_t> changed,
                           bool copy, bool dryRun) {
    if (dryRun) {
        LayOutRows(rows);
        return "";
    }
    Project project = ReadProjectBeside(rom);  // a damaged one stops the save before it writes
    for (const std::size_t row : changed) {
        RowReview review = ReviewOf(project.reviews, row);
        review.state = StateAfterTextChange(review.state);
        SetReview(project.reviews, row, std::move(review));
    }
    const SaveOptions options{.expected = loaded.stamp};
    const std::string copyPath = copy ? SaveRomAsCopy(rom, rows, {}, options).path : "";
    if (!copy) {
        SaveRom(rom, rows, {}, options);
    }
    try {
        WriteProjectBeside(copy ? copyPath : rom, project);
    } catch (const FileError& e) {
        throw FileError("The rows are saved, but not their review states: " +
                        std::string(e.what()));
    }
    return copyPath;
}

}  // namespace qm::cli
