// libFuzzer target for patches, all in memory. The input, behind a prefix its
// first byte picks, is applied to a fixed small source: it may be refused only
// with PatchError. Split in two, the input is a source and a target that must
// come back byte for byte through a patch of either format.
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
        check(result.size() <= kMaxPatchedSize, "result within the size limit");
    } catch (const PatchError&) {
        // Refusing is fine; anything else escapes and crashes.
    }
}

void roundTrip(std::uint8_t mode, std::span<const std::uint8_t> body) {
    const std::size_t split = body.size() * (mode >> 2) / 63;
    const auto source = body.first(split);
    const auto target = body.subspan(split);
    for (PatchFormat format : {PatchFormat::Bps, PatchFormat::Ips}) {
        const Bytes patch = CreatePatch(format, source, target);
        check(DetectPatchFormat(patch) == format, "patch announces its format");
        const Bytes result = ApplyPatch(patch, source);
        check(std::equal(result.begin(), result.end(), target.begin(), target.end()),
              "patch gives the target back");
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
