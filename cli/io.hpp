#pragma once
// What every verb of quillmoor-script does with messages. Its files are read
// and written through the core's command_files.hpp (a path, or "-"; never an
// output over an input), so the window follows the same rules.

#include <string>
#include <string_view>

#include "command_files.hpp"
#include "types.hpp"

namespace qm::cli {

/// Exit statuses: 0 done, 1 a file could not be read or written or a save was
/// refused, 2 the command line was wrong.
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;

/// Writes «quillmoor-script: message» to standard error; returns kFailed.
int Fail(std::string_view message);

/// What a verb did, in one line on standard output; nothing once SetQuiet(true).
void Tell(std::string_view line);
void SetQuiet(bool quiet);

}  // namespace qm::cli
