#pragma once
// JSON files of a ROM image's own (project and recovery files), read with the
// lines their parts stand on, so that a damaged one is refused with its line.

#include <cstddef>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

/// Where the parts of a JSON file stand: each top-level key's line, and the
/// line of each element of each top-level array (in order).
struct JsonLines {
    std::map<std::string, std::size_t> keys;
    std::map<std::string, std::vector<std::size_t>> elements;

    /// The line of element index of the array under key, or key's own line.
    std::size_t of(const std::string& key, std::size_t index) const;
};

/// Parses text, which must be a JSON object nested at most 32 deep, noting
/// where its parts stand. Throws ProjectFileError with the line for text that is
/// no JSON or no object.
nlohmann::json ParseJsonWithLines(std::string_view text, JsonLines& lines);

/// doc written with each top-level key on a line of its own, and each element of
/// a top-level array on a line of its own: a change to one row changes one line.
std::string JsonOneItemALine(const nlohmann::ordered_json& doc);

}  // namespace qm
