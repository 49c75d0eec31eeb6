// libFuzzer target for the load-encode-save pipeline, in memory: the input is
// the start of a ROM image's text region; the target loads it, encodes every
// row, lays the text out into a copy of the image and checks what a save
// promises. The file steps of a save are covered by the fault-injection tests.
// Any failed check aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "errors.hpp"
#include "rom/layout.hpp"
#include "rom/load.hpp"
#include "save/writer.hpp"

namespace {

using namespace qm;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_save: check failed: %s\n", what);
        std::abort();
    }
}

Bytes imageFor(const std::uint8_t* data, std::size_t size) {
    static const Bytes base = [] {
        Bytes b(kTextRegionEnd + 64);
        for (std::size_t i = 0; i < b.size(); ++i) {
            b[i] = static_cast<std::uint8_t>(i * 13 + 5);
        }
        std::fill(b.begin() + kTextRegionOffset, b.begin() + kTextRegionEnd, 0);
        return b;
    }();
    Bytes image = base;
    std::size_t n = std::min(size, kTextRegionLength);
    std::memcpy(image.data() + kTextRegionOffset, data, n);
    // Terminators after the input keep a load short (512 rows, mostly empty); an
    // odd-sized input leaves a run of zeros first, so the last string is long.
    std::size_t zeros = size % 2 == 1 ? std::min<std::size_t>(64, kTextRegionLength - n) : 0;
    std::fill(image.begin() + kTextRegionOffset + n + zeros, image.begin() + kTextRegionEnd,
              kTerminator);
    return image;
}

/// Checks a saved image against the one before the save and the laid-out text.
void checkSaved(const Bytes& before, const Bytes& saved, const LaidOutText& t,
                std::size_t written) {
    check(saved.size() == before.size(), "the size stays");
    check(std::equal(saved.begin(), saved.begin() + kPointerTableOffset, before.begin()),
          "bytes before the pointer table stay");
    check(std::equal(saved.begin() + kTextRegionEnd, saved.end(), before.begin() + kTextRegionEnd),
          "bytes after the text region stay");
    check(std::equal(t.text.begin(), t.text.end(), saved.begin() + kTextRegionOffset),
          "the text lands at the region start");
    check(std::equal(saved.begin() + kTextRegionOffset + t.text.size(),
                     saved.begin() + kTextRegionEnd,
                     before.begin() + kTextRegionOffset + t.text.size()),
          "the old tail stays");
    // Entries of written rows start right after a terminator; the others point
    // at the last terminator (an empty string).
    std::size_t previous = kPointerBase;
    for (std::size_t k = 0; k < kStringCount; ++k) {
        std::size_t at = kPointerTableOffset + 2 * k;
        std::size_t entry = saved[at] | (saved[at + 1] << 8);
        check(entry >= previous && entry < kPointerBase + t.text.size(), "pointer entry in range");
        std::size_t offset = entry - kPointerBase;
        if (k < written) {
            check(k == 0 ? offset == 0 : t.text[offset - 1] == kTerminator,
                  "a string starts after a terminator");
        } else {
            check(offset == t.text.size() - 1, "a missing row points at the last terminator");
        }
        previous = entry;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes image = imageFor(data, size);
    std::vector<StringEntry> rows = LoadRom(image);

    // The same rows with arbitrary markup typed into row 1: refused or laid out.
    if (!rows.empty()) {
        auto edited = rows;
        edited[0].Text.assign(reinterpret_cast<const char*>(data),
                              std::min<std::size_t>(size, 256));
        try {
            LaidOutText t = LayOutRows(edited);
            check(t.text.size() <= kTextRegionLength, "laid-out text fits");
        } catch (const SaveError&) {
        }
    }

    LaidOutText laidOut;
    try {
        laidOut = LayOutRows(rows);
    } catch (const SaveError&) {
        return 0;  // an empty region, or text the encoder refuses
    }
    Bytes saved = image;
    ApplyLaidOutText(saved, laidOut);
    const std::size_t written = std::min(rows.size(), kStringCount);
    checkSaved(image, saved, laidOut, written);
    return 0;
}
