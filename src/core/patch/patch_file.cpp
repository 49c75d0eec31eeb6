#include "patch/patch_file.hpp"

#include "command_files.hpp"

namespace qm {

std::size_t CreatePatchFile(PatchFormat format, const std::string& original,
                            const std::string& modified, const std::string& out) {
    RefuseStandardInputTwice(original, modified);
    RefuseToOverwrite(out, original);
    RefuseToOverwrite(out, modified);
    const Bytes patch = CreatePatch(format, ReadInput(original, kMaxPatchedSize),
                                    ReadInput(modified, kMaxPatchedSize));
    WriteOutput(out, std::string_view(reinterpret_cast<const char*>(patch.data()), patch.size()));
    return patch.size();
}

}  // namespace qm
