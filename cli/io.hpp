#pragma once
// What every verb of quillmoor-script does with files and messages: read a
// table or patch (a regular file, or "-" for standard input), write an output
// atomically (or "-" for standard output), and report failures.

#include <string>
#include <string_view>

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

/// The bytes of path, or of standard input for "-". Only regular files are read,
/// and at most limit bytes. Throws FileError.
Bytes ReadInput(const std::string& path, std::uintmax_t limit);

/// Writes data to path atomically (a temporary file beside it, flushed, renamed
/// over it), or to standard output for "-". Throws FileError, also when standard
/// output cannot take it all.
void WriteOutput(const std::string& path, std::string_view data);

/// Throws FileError when output would replace input (also through links), and for
/// output "-" when standard output writes into input.
void RefuseToOverwrite(const std::string& output, const std::string& input);

}  // namespace qm::cli
