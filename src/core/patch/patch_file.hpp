#pragma once
// Creating a patch file from two ROM images on disk: the one way the window's
// Create Patch and the tool's create-patch make one.

#include <cstddef>
#include <string>

#include "patch/patch.hpp"

namespace qm {

/// Writes a patch in format that turns the ROM image original into modified to
/// out. Reads both (at most kMaxPatchedSize bytes each; "-" reads standard input,
/// for one of them at most), refuses an out that is either of them
/// (RefuseToOverwrite), and writes the patch atomically ("-": to standard
/// output). Returns the patch's size in bytes. Throws FileError and PatchError;
/// then nothing was written.
std::size_t CreatePatchFile(PatchFormat format, const std::string& original,
                            const std::string& modified, const std::string& out);

}  // namespace qm
