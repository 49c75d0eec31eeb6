#pragma once
// The verbs of quillmoor-script. Each returns the process exit status (io.hpp).

#include <string>

namespace qm::cli {

/// The string table of rom in format ("json", "csv", "po"; empty: from out's
/// extension), to out ("-": standard output).
int runExport(const std::string& rom, const std::string& out, const std::string& format);
/// Writes a table into rom as Save ROM does, or with copy as Save As Copy does.
int runImport(const std::string& rom, const std::string& table, const std::string& format,
              bool copy);
/// The demo ROM image, to out; an existing file only with force.
int runDemo(const std::string& out, bool force);
/// A patch from original to modified in format ("bps", "ips"; empty: from out's
/// extension), to out.
int runCreatePatch(const std::string& original, const std::string& modified, const std::string& out,
                   const std::string& format);
/// rom with patch applied, to out.
int runApplyPatch(const std::string& patch, const std::string& rom, const std::string& out);

}  // namespace qm::cli
