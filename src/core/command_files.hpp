#pragma once
// The files a command reads and writes, as both front ends name them: a path, or
// "-" for standard input or output; and the rule that no output goes over one of
// the command's own inputs.

#include <cstdint>
#include <string>
#include <string_view>

#include "types.hpp"

namespace qm {

/// The bytes of path, or of standard input for "-". Only regular files are read,
/// and at most limit bytes. Throws FileError.
Bytes ReadInput(const std::string& path, std::uintmax_t limit);

/// Writes data to path atomically (WriteFileAtomically), or to standard output for
/// "-". Throws FileError, also when standard output cannot take it all.
void WriteOutput(const std::string& path, std::string_view data);

/// Throws FileError «Cannot write "OUT": it is "IN" itself, which would be lost.»
/// when output would replace input (also through links and hard links), and for
/// output "-" when standard output writes into input.
void RefuseToOverwrite(const std::string& output, const std::string& input);

/// Throws FileError when both inputs are "-": standard input can be read only once,
/// and the second would read nothing.
void RefuseStandardInputTwice(const std::string& first, const std::string& second);

}  // namespace qm
