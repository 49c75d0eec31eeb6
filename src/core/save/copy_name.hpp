#pragma once

#include <string>

namespace qm {

/// Name of the copy that Save As Copy writes: the path before the last "." of
/// its file name, then " Hack.smc". A file name without "." keeps its whole name
/// («/r/story» -> «/r/story Hack.smc»). Both "/" and "\" separate folders.
std::string CopyName(const std::string& romPath);

/// The file-name part of a path: what follows its last "/" or "\".
std::string FileNameOf(const std::string& path);

/// Copies the file at from to to, replacing an existing file there. Throws
/// FileError; a failed copy leaves no partial file at to.
void CopyRomFile(const std::string& from, const std::string& to);

}  // namespace qm
