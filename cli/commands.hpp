#pragma once
// The verbs of quillmoor-script. Each returns the process exit status: 0 done,
// 1 a file could not be read or a save was refused (message on standard error).

#include <optional>
#include <string>

namespace qm::cli {

int runExport(const std::string& romPath, const std::optional<std::string>& outPath);
int runDemo(const std::string& outPath);
int runImport(const std::string& romPath, const std::string& tablePath, bool copy);

}  // namespace qm::cli
