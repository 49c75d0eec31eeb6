// libFuzzer target for the files a ROM image has of its own, in memory: the input,
// behind a first byte that picks which, is read as a character map, a project file
// or a recovery file. Each is refused with ProjectFileError or writes back to a
// text that reads to the same contents; a map written over the text it was read
// from (its comments kept) reads back the same too. Any failed check aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "errors.hpp"
#include "markup/charmap.hpp"
#include "project/project_file.hpp"
#include "project/recovery.hpp"

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_project: check failed: %s\n", what);
        std::abort();
    }
}

void characterMap(std::string_view text) {
    qm::CharacterMap map;
    try {
        map = qm::ParseCharacterMap(text);
    } catch (const qm::ProjectFileError&) {
        return;
    }
    check(qm::ParseCharacterMap(qm::CharacterMapText(map)) == map, "a new map file reads back");
    check(qm::ParseCharacterMap(qm::CharacterMapText(map, text)) == map,
          "a map written over its own text reads back");
}

void project(std::string_view text) {
    qm::Project read;
    try {
        read = qm::ParseProject(text);
    } catch (const qm::ProjectFileError&) {
        return;
    }
    check(qm::ParseProject(qm::ProjectText(read)) == read, "a project file reads back");
}

void recovery(std::string_view text) {
    qm::Recovery read;
    try {
        read = qm::ParseRecovery(text);
    } catch (const qm::ProjectFileError&) {
        return;
    }
    check(qm::ParseRecovery(qm::RecoveryText(read)) == read, "a recovery file reads back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 3) {
        case 0: characterMap(text); break;
        case 1: project(text); break;
        default: recovery(text); break;
    }
    return 0;
}
