#include "demo/demo.hpp"
#include "commands.hpp"
#include "errors.hpp"
#include "files.hpp"
#include "io.hpp"
#include "rom/layout.hpp"
#include "text.hpp"

namespace qm::cli {

int runDemo(const std::string& out, bool force) {
    try {
        if (!force && ResolveFile(out).exists) {
            return Fail(Quoted(out) + " already exists; give --force to replace it.");
        }
        const Bytes image = BuildDemoImage();
        WriteFileAtomically(out, image);
        Tell("Wrote a demo ROM image with " + std::to_string(kStringCount) + " strings to " +
             Escaped(out));
        return 0;
    } catch (const FileError& e) {
        return Fail(e.what());
    }
}

}  // namespace qm::cli
