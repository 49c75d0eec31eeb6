#pragma once
// The verbs of quillmoor-script. Each returns the process exit status (io.hpp).

#include <string>

namespace qm::cli {

/// The string table of rom as JSON, to out ("-": standard output).
int runExport(const std::string& rom, const std::string& out);
/// Writes a table into rom as Save ROM does, or with copy as Save As Copy does.
int runImport(const std::string& rom, const std::string& table, bool copy);
/// The demo ROM image, to out; an existing file only with force.
int runDemo(const std::string& out, bool force);

}  // namespace qm::cli
