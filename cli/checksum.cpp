// quillmoor-script checksum ROM [--fix]: the checksum in the SNES internal header
// against the one emulators compute; with --fix the pair is written, its four
// bytes and nothing else, atomically.
#include <iostream>

#include "commands.hpp"
#include "errors.hpp"
#include "files.hpp"
#include "io.hpp"
#include "rom/internal_header.hpp"
#include "rom/layout.hpp"
#include "text.hpp"

namespace qm::cli {

int runChecksum(const std::string& rom, bool fix) {
    try {
        RefuseToOverwrite("-", rom);  // what the tool prints would land in the ROM image
        Bytes image = RegularFile(rom).readAll(kLargestRomImage);
        const auto state = CheckHeaderChecksum(image);
        if (!state) {
            return Fail(Quoted(rom) +
                        " has no SNES internal header (none at 0x7FC0, 0xFFC0 or 0x40FFC0, "
                        "behind a copier header or not); nothing was changed.");
        }
        std::cout << ChecksumText(*state) << std::endl;
        if (state->right() || !fix) {
            return state->right() ? 0 : kFailed;
        }
        FixHeaderChecksum(image);
        WriteFileAtomically(rom, image);
        Tell("Wrote the checksum into the " + std::string(LayoutName(state->header.layout)) +
             " header of " + rom);
        return 0;
    } catch (const FileError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
