#include "rom/stamp.hpp"

#include "errors.hpp"
#include "text.hpp"

namespace qm {

namespace {

constexpr std::uint64_t kFnvOffset = 0xcbf29ce484222325;
constexpr std::uint64_t kFnvPrime = 0x100000001b3;

std::uint64_t hashOn(std::uint64_t hash, std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes) {
        hash = (hash ^ byte) * kFnvPrime;
    }
    return hash;
}

}  // namespace

std::uint64_t AreasHash(const RomText& text) {
    return hashOn(hashOn(kFnvOffset, text.PointerTable), text.TextBlock);
}

RomStamp StampOf(const RegularFile& file, const RomText& text) {
    return {file.size(), file.modified(), AreasHash(text)};
}

bool RomFileMatches(const std::string& path, const RomStamp& stamp) {
    const RegularFile file(path);
    // Size and time first: a file cut short is simply another file, and the
    // areas are read only when they can still be the same.
    return file.size() == stamp.size && file.modified() == stamp.modified &&
           AreasHash(ReadRomText(file)) == stamp.areasHash;
}

FileChangedError RomChangedError(const std::string& path) {
    return FileChangedError(Quoted(path) +
                            " was changed by another program since it was read; nothing was "
                            "written.");
}

void CheckRomUnchanged(const std::string& path, const RomStamp& stamp) {
    if (!RomFileMatches(path, stamp)) {
        throw RomChangedError(path);
    }
}

}  // namespace qm
