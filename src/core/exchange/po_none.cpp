// PO files in a build without libgettextpo, which Debian does not build for
// Windows: every call says so.
#include "exchange/po_file.hpp"

namespace qm {

namespace {

constexpr const char* kUnsupported = "PO files are not supported in this build";

}  // namespace

bool PoFilesSupported() {
    return false;
}

std::string WritePo(std::span<const PoEntry>) {
    throw PoError(0, kUnsupported);
}

std::vector<PoEntry> ReadPo(std::string_view) {
    throw PoError(0, kUnsupported);
}

PoCounts CountPo(std::string_view) {
    throw PoError(0, kUnsupported);
}

}  // namespace qm
