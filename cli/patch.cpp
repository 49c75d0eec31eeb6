// quillmoor-script create-patch and apply-patch: BPS and IPS patches between ROM
// images, written atomically and never over one of their own inputs.
#include "patch/patch.hpp"
#include "commands.hpp"
#include "errors.hpp"
#include "io.hpp"
#include "patch/patch_file.hpp"
#include "text.hpp"

namespace qm::cli {

namespace {

Bytes readImage(const std::string& path) {
    return ReadInput(path, kMaxPatchedSize);
}

void writeBytes(const std::string& out, const Bytes& bytes) {
    WriteOutput(out, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace

int runCreatePatch(const std::string& original, const std::string& modified, const std::string& out,
                   const std::string& format) {
    try {
        std::optional<PatchFormat> chosen =
            PatchFormatForFileName(format.empty() ? out : "." + format);
        if (!chosen) {
            return Fail("Give the patch a name ending in .bps or .ips, or choose --format.");
        }
        const std::size_t size = CreatePatchFile(*chosen, original, modified, out);
        if (out != "-") {  // on standard output the patch itself is the answer
            Tell("Wrote " + Escaped(out) + " (" + BytesText(size) + ", " +
                 (*chosen == PatchFormat::Bps ? "BPS" : "IPS") + ") from " + Escaped(original) +
                 " to " + Escaped(modified));
        }
        return 0;
    } catch (const PatchError& e) {
        return Fail(e.what());
    } catch (const FileError& e) {
        return Fail(e.what());
    }
}

int runApplyPatch(const std::string& patch, const std::string& rom, const std::string& out) {
    try {
        RefuseStandardInputTwice(patch, rom);
        RefuseToOverwrite(out, rom);
        RefuseToOverwrite(out, patch);
        writeBytes(out, ApplyPatch(readImage(patch), readImage(rom)));
        if (out != "-") {
            Tell("Wrote " + Escaped(out));
        }
        return 0;
    } catch (const PatchError& e) {
        return Fail("The patch " + Quoted(patch) + " cannot be applied: " + e.what());
    } catch (const FileError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
