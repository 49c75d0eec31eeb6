// libFuzzer target for patches, all in memory. The input, behind a prefix its
// first byte picks, is applied to a fixed small source: it may be refused only
// with PatchError. Split in two, the input is a source and a target that must
// come back byte for byte through a patch of either format, and so must a target
// built from that source by the second part read as edits.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "patch/patch.hpp"

namespace {

using namespace qm;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_patch: check failed: %s\n", what);
        std::abort();
    }
}

const Bytes& fixedSource() {
    static const Bytes source = [] {
        Bytes b(64);
        for (std::size_t i = 0; i < b.size(); ++i) {
            b[i] = static_cast<std::uint8_t>(i < 32 ? 'A' + i % 26 : 0xFF);
        }
        return b;
    }();
    return source;
}

void putNumber(Bytes& out, std::uint64_t value) {
    for (;; --value) {
        const auto low = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
        if (value == 0) {
            out.push_back(0x80 | low);
            return;
        }
        out.push_back(low);
    }
}

void putCrc(Bytes& out, std::uint32_t crc) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(crc >> shift));
    }
}

// The prefixes let the fuzzer past the checks it could hardly guess: the magic,
// the patch CRC, the source's size and CRC. The last one also keeps the target
// small (its size is the body's first byte), so runs stay fast.
Bytes patchFor(std::uint8_t mode, std::span<const std::uint8_t> body) {
    const Bytes& source = fixedSource();
    Bytes patch;
    switch (mode % 4) {
        case 0: break;
        case 1: patch = {'P', 'A', 'T', 'C', 'H'}; break;
        default:
            patch = {'B', 'P', 'S', '1'};
            if (mode % 4 == 3 && !body.empty()) {
                putNumber(patch, source.size());
                putNumber(patch, body[0]);
                body = body.subspan(1);
            }
            break;
    }
    patch.insert(patch.end(), body.begin(), body.end());
    if (mode % 4 == 3) {
        putCrc(patch, Crc32(source));
        putCrc(patch, 0);  // the target CRC: patches that apply cleanly come from roundTrip
    }
    if (mode % 4 >= 2) {
        putCrc(patch, Crc32(patch));
    }
    return patch;
}

void applyAsPatch(std::uint8_t mode, std::span<const std::uint8_t> body) {
    try {
        const Bytes result = ApplyPatch(patchFor(mode, body), fixedSource());
        check(result.size() <= kLargestRomImage, "result within the size limit");
    } catch (const PatchError&) {
        // Refusing is fine; anything else escapes and crashes.
    }
}

// The script as edits that build a target from source, three bytes each: copy a
// stretch of source, copy a stretch of what is built so far (overlapping it, as
// a repeated pattern does), or add one byte. Targets so made share what a patch
// can copy, which target bytes taken from the input seldom do.
Bytes edited(std::span<const std::uint8_t> source, std::span<const std::uint8_t> script) {
    Bytes target;
    for (std::size_t k = 0; k + 3 <= script.size(); k += 3) {
        const std::size_t at = script[k + 1];
        const std::size_t length = script[k + 2] % 64 + 1;
        if (script[k] % 3 == 0 && !source.empty()) {
            for (std::size_t n = 0; n < length; ++n) {
                target.push_back(source[(at * 31 + n) % source.size()]);
            }
        } else if (script[k] % 3 == 1 && !target.empty()) {
            const std::size_t from = target.size() - 1 - at % target.size();
            for (std::size_t n = 0; n < length; ++n) {
                const std::uint8_t byte = target[from + n];  // before push_back moves it
                target.push_back(byte);
            }
        } else {
            target.push_back(script[k + 1]);
        }
    }
    return target;
}

void roundTrip(std::uint8_t mode, std::span<const std::uint8_t> body) {
    const std::size_t split = body.size() * (mode >> 2) / 63;
    const auto source = body.first(split);
    const Bytes editedTarget = edited(source, body.subspan(split));
    for (const auto target : {body.subspan(split), std::span<const std::uint8_t>(editedTarget)}) {
        for (PatchFormat format : {PatchFormat::Bps, PatchFormat::Ips}) {
            const Bytes patch = CreatePatch(format, source, target);
            check(DetectPatchFormat(patch) == format, "patch announces its format");
            const Bytes result = ApplyPatch(patch, source);
            check(std::equal(result.begin(), result.end(), target.begin(), target.end()),
                  "patch gives the target back");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::span<const std::uint8_t> body(data + 1, size - 1);
    applyAsPatch(data[0], body);
    roundTrip(data[0], body);
    return 0;
}
