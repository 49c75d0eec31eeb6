// libFuzzer target for the load-edit-save pipeline, in memory: the input is a
// ROM image's text region. The target loads the region, lays the rows
// out again as a save does and checks what a save promises: without edits the
// region comes back byte for byte; an edited row is refused where the edit box
// marks it, or changes its own bytes and nothing else. The file steps of a save
// are covered by the fault-injection tests. Any failed check aborts.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "errors.hpp"
#include "markup/encoder.hpp"
#include "rom/layout.hpp"
#include "rom/reader.hpp"
#include "save/writer.hpp"
#include "text.hpp"

namespace {

using namespace qm;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_save: check failed: %s\n", what);
        std::abort();
    }
}

std::vector<StringEntry> load(std::span<const std::uint8_t> region) {
    std::vector<std::string> strings = IsolateRomStrings(region);
    return UpdateStringtable(strings, region, {}, [] { return 0.5; });
}

// The region after a save of laid-out text: the text, then the old tail.
Bytes saved(std::span<const std::uint8_t> before, const LaidOutText& t) {
    Bytes after(before.begin(), before.end());
    std::copy(t.text.begin(), t.text.end(), after.begin());
    return after;
}

void checkPointers(const LaidOutText& t, std::size_t written) {
    std::size_t previous = kPointerBase;
    for (std::size_t k = 0; k < kStringCount; ++k) {
        const std::size_t entry = GetLittleEndian16(t.PointerTable, 2 * k);
        check(entry >= previous && entry < kPointerBase + t.text.size(), "pointer entry in range");
        const std::size_t offset = entry - kPointerBase;
        if (k < written) {
            check(k == 0 ? offset == 0 : t.text[offset - 1] == kTerminator,
                  "a string starts after a terminator");
        } else {
            check(offset == t.text.size() - 1, "a missing row points at the last terminator");
        }
        previous = entry;
    }
}

// Arbitrary markup typed into row 1: refused where CheckMarkup says, or saved
// with every other row's bytes as they were.
void checkEdit(std::span<const std::uint8_t> region, const std::vector<StringEntry>& rows,
               std::string_view typed) {
    auto edited = rows;
    edited[0].Text.assign(typed);
    const std::vector<MarkupProblem> problems = CheckMarkup(edited[0].Text);
    try {
        const LaidOutText t = LayOutRows(edited);
        check(problems.empty() || edited[0].IsUnchanged(), "a marked text is refused");
        if (t.text.size() > region.size()) {
            return;  // longer than this region; the real one is checked by the layout
        }
        const std::vector<StringEntry> again = load(saved(region, t));
        check(again.size() >= std::min(rows.size(), kStringCount), "every row loads again");
        for (std::size_t k = 1; k < std::min(rows.size(), kStringCount); ++k) {
            check(again[k].Loaded.bytes == rows[k].Loaded.bytes, "other rows keep their bytes");
        }
    } catch (const SaveError& e) {
        if (e.row()) {
            check(*e.row() == 0 && !problems.empty(), "only the edited row is refused");
            check(*e.position() == problems.front().position, "refused where it is marked");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The input is the text region itself: the rules hold for a region of any
    // length, and a short one keeps every run cheap.
    const std::span<const std::uint8_t> region(data, size);
    const std::vector<StringEntry> rows = load(region);
    if (rows.empty()) {
        return 0;
    }
    // Without edits nothing is refused and the region comes back byte for byte.
    const LaidOutText t = LayOutRows(rows);
    checkPointers(t, std::min(rows.size(), kStringCount));
    check(saved(region, t) == Bytes(region.begin(), region.end()),
          "a save without edits keeps the region");
    checkEdit(
        region, rows,
        std::string_view(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 64)));
    return 0;
}
