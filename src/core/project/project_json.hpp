#pragma once
// The project's JSON form, shared by the project file and the recovery file.

#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "project/json_lines.hpp"
#include "project/project_file.hpp"

namespace qm {

/// The project's keys after "format" and "version", in the file's order.
nlohmann::ordered_json ProjectJson(const Project& project);

/// Gives the line of element index of the array under key (JsonLines::of).
using LineOf = std::function<std::size_t(const std::string& key, std::size_t index)>;

/// The project in doc's keys (those ProjectJson writes; others but "format" and
/// "version" kept as they are). Throws ProjectFileError with the line lineOf
/// gives for a field of the wrong kind, a row number outside 1-512 or given
/// twice, and an unknown state.
Project ProjectFromJson(const nlohmann::json& doc, const LineOf& lineOf);

}  // namespace qm
