// libFuzzer target for the load-encode-save pipeline: the input is the text
// region of a ROM image; the target loads it, encodes every row, saves into a
// temporary file and checks what the save promises. Any failed check aborts.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "errors.hpp"
#include "markup/encoder.hpp"
#include "markup/portraits.hpp"
#include "rom/reader.hpp"
#include "rom/string_table.hpp"
#include "save/atomic_file.hpp"
#include "save/writer.hpp"

namespace {

using namespace qm;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_save: check failed: %s\n", what);
        std::abort();
    }
}

/// The system's calls without fsync: durability is not what is fuzzed here.
class NoSyncOps : public FileOps {
  public:
    int fsync(int) override { return 0; }
};

struct Scratch {
    std::filesystem::path dir;
    std::string rom;
    Scratch() {
        std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                         ? std::filesystem::path("/dev/shm")
                                         : std::filesystem::temp_directory_path();
        std::string templ = (base / "qm-fuzz-XXXXXX").string();
        check(::mkdtemp(templ.data()) != nullptr, "mkdtemp");
        dir = templ;
        rom = (dir / "fuzz.smc").string();
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

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
    // An odd-sized input is followed by terminators (512 rows, mostly empty), an
    // even-sized one by zeros (fewer rows unless the input has 512 terminators).
    if (size % 2 == 1) {
        std::fill(image.begin() + kTextRegionOffset + n, image.begin() + kTextRegionEnd,
                  kTerminator);
    }
    return image;
}

void writeImage(const std::string& path, const Bytes& image) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    check(static_cast<bool>(out), "write the scratch image");
}

std::vector<StringEntry> load(std::span<const std::uint8_t> image) {
    RomText text = ReadRomText(image);
    std::vector<std::string> strings = IsolateRomStrings(text.TextBlock);
    return UpdateStringtable(strings, {}, [] { return 0.5; });
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
    static Scratch scratch;
    static NoSyncOps ops;

    const Bytes image = imageFor(data, size);
    std::vector<StringEntry> rows = load(image);

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
    writeImage(scratch.rom, image);
    SaveRom(scratch.rom, rows, {}, ops);
    const Bytes saved = ReadWholeFile(scratch.rom);
    const std::size_t written = std::min(rows.size(), kStringCount);
    checkSaved(image, saved, laidOut, written);

    // Strict mode (QM_FUZZ_STRICT=1): a second load and save writes the same
    // strings again. Off by default: a code read out of step (after ">" or a
    // one-letter placeholder) can pose as a portrait or colour setting, which the
    // loader takes out of the text, so not every byte string is a fixed point.
    static const bool strict = std::getenv("QM_FUZZ_STRICT") != nullptr;
    if (!strict) {
        return 0;
    }
    std::vector<StringEntry> again = load(saved);
    check(again.size() >= written, "every written string loads again");
    again.resize(written);
    LaidOutText second = LayOutRows(again);
    check(second.text == laidOut.text, "load-save is a fixed point after one save");
    return 0;
}
