#pragma once
// The project file beside the ROM image (NAME.qmproj beside NAME.smc): what a
// team keeps about its translation that the ROM image cannot hold. JSON with
// its keys in a fixed order and one row a line, so that it diffs well in
// version control; written only when it has something to hold.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "translation/review.hpp"

namespace qm {

/// A check's warning on one row that the team chose to ignore.
struct IgnoredWarning {
    std::size_t row = 0;  ///< 0-based
    std::string check;    ///< the check's name, such as "codes"

    auto operator<=>(const IgnoredWarning&) const = default;
};

struct Project {
    Reviews reviews;               ///< notes and review states by row
    std::string glossary;          ///< the glossary file as chosen (UTF-8 path); empty: none
    std::string spellingLanguage;  ///< the spelling dictionary's language ("de_DE"); empty: none
    std::set<std::string> projectWords;        ///< words spelling takes as they are
    std::set<IgnoredWarning> ignoredWarnings;  ///< (row, check) pairs not to warn about
    /// Keys this version does not know, kept as they were (name, JSON text).
    std::vector<std::pair<std::string, std::string>> otherKeys;

    /// Whether it holds nothing worth a file.
    bool empty() const;
    bool operator==(const Project&) const = default;
};

/// The largest project file taken in: 512 notes of several KiB, and room.
inline constexpr std::uintmax_t kLargestProjectFile = 16 * 1024 * 1024;

/// NAME.qmproj beside the ROM image NAME.smc.
std::string ProjectPathFor(const std::string& romPath);

/// The file's text: the keys "format", "version", "glossary", "spellingLanguage",
/// "projectWords", "ignoredWarnings", "rows" in this order, one array element a
/// line, rows ascending as {"row": 17, "state": "needs-review", "note": "..."}
/// (row numbers from 1), then the other keys.
std::string ProjectText(const Project& project);

/// The project a file's text holds. Throws ProjectFileError with the line for
/// text that is no JSON object, a version other than 1, a field of the wrong
/// kind, a row number outside 1-512 or given twice, and an unknown state.
Project ParseProject(std::string_view text);

/// The project beside romPath; an empty one when there is no file. Throws
/// FileError when it cannot be read, ProjectFileError «The project file
/// "story.qmproj": line 4: ...» when it is damaged.
Project ReadProjectBeside(const std::string& romPath);

/// Writes project beside romPath atomically when it holds something, or when a
/// file is there already (so that taking away the last note is kept too).
/// Returns whether it wrote. Throws FileError; the file is then as it was.
bool WriteProjectBeside(const std::string& romPath, const Project& project);

}  // namespace qm
