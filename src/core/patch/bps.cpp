#include "patch/bps.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "patch/bps_plan.hpp"
#include "patch/patch_reader.hpp"

namespace qm {

namespace {

constexpr std::string_view kMagic = "BPS1";
constexpr std::size_t kFooterSize = 12;  // source, target and patch CRC32

std::string hex8(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

std::uint32_t littleEndian32(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// --- Writing ---

class BpsWriter {
  public:
    Bytes out;

    // Seven bits a byte, low first, the last byte flagged with 0x80; each
    // continuation also subtracts one, so every number has exactly one encoding.
    void number(std::uint64_t value) {
        for (;;) {
            const auto low = static_cast<std::uint8_t>(value & 0x7F);
            value >>= 7;
            if (value == 0) {
                out.push_back(0x80 | low);
                return;
            }
            out.push_back(low);
            --value;
        }
    }

    void action(BpsAction kind, std::size_t length) {
        number((std::uint64_t{length} - 1) << 2 | kind);
    }

    void crc(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            out.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
};

// --- Reading ---

// The inverse of BpsWriter::number, refusing anything that does not fit 64 bits.
std::uint64_t readNumber(PatchReader& in, std::string_view what) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    std::uint64_t shift = 1;
    for (;;) {
        const std::uint8_t x = in.byte(what);
        const std::uint64_t part = x & 0x7F;
        if ((part != 0 && shift > kMax / part) || value > kMax - part * shift) {
            throwDamaged(std::string(what) + " holds a number too large to be real");
        }
        value += part * shift;
        if ((x & 0x80) != 0) {
            return value;
        }
        if (shift > (kMax >> 7) || value > kMax - (shift << 7)) {
            throwDamaged(std::string(what) + " holds a number too large to be real");
        }
        shift <<= 7;
        value += shift;
    }
}

// A copy's new cursor: cursor moved by a signed relative offset, which must land
// inside the first limit bytes of the file copied from.
std::size_t moveCursor(PatchReader& in, std::size_t cursor, std::size_t limit,
                       std::string_view file) {
    const std::uint64_t word = readNumber(in, "a copy action");
    const std::uint64_t distance = word >> 1;
    const bool backwards = (word & 1) != 0;
    const bool inside = backwards ? distance <= cursor && cursor - distance < limit
                                  : distance < limit && cursor < limit - distance;
    if (!inside) {
        throwDamaged("a copy action starts outside " + std::string(file));
    }
    return backwards ? cursor - static_cast<std::size_t>(distance)
                     : cursor + static_cast<std::size_t>(distance);
}

// Copies within target from an earlier offset; the stretches may overlap, in
// which case bytes written by this copy are read again (a repeated pattern).
void copyWithin(std::span<std::uint8_t> target, std::size_t from, std::size_t to,
                std::size_t length) {
    std::uint8_t* data = target.data();
    if (to - from >= length) {
        std::memcpy(data + to, data + from, length);
    } else if (to - from == 1) {
        std::memset(data + to, data[from], length);
    } else {
        for (std::size_t k = 0; k < length; ++k) {
            data[to + k] = data[from + k];
        }
    }
}

// Runs the actions until target is full; the actions must end exactly there.
void runActions(PatchReader& in, std::span<const std::uint8_t> source,
                std::span<std::uint8_t> target) {
    std::size_t out = 0;
    std::size_t sourceCursor = 0;
    std::size_t targetCursor = 0;
    while (out < target.size()) {
        if (in.remaining() == 0) {
            throwDamaged("its actions end before the patched file is complete");
        }
        const std::uint64_t word = readNumber(in, "an action");
        if ((word >> 2) >= target.size() - out) {
            throwDamaged("an action writes past the end of the patched file");
        }
        const auto length = static_cast<std::size_t>(word >> 2) + 1;
        std::uint8_t* dest = target.data() + out;
        switch (word & 3) {
            case kSourceRead:
                if (out + length > source.size()) {
                    throwDamaged("an action reads past the end of the source file");
                }
                std::memcpy(dest, source.data() + out, length);
                break;
            case kTargetRead: std::memcpy(dest, in.take(length, "an action").data(), length); break;
            case kSourceCopy:
                sourceCursor = moveCursor(in, sourceCursor, source.size(), "the source file");
                if (length > source.size() - sourceCursor) {
                    throwDamaged("a copy action reads past the end of the source file");
                }
                std::memcpy(dest, source.data() + sourceCursor, length);
                sourceCursor += length;
                break;
            default:
                // Only bytes already written may be copied.
                targetCursor = moveCursor(in, targetCursor, out, "what is written so far");
                copyWithin(target, targetCursor, out, length);
                targetCursor += length;
                break;
        }
        out += length;
    }
    if (in.remaining() != 0) {
        throwDamaged("unexpected bytes follow its last action");
    }
}

}  // namespace

Bytes CreateBpsPatch(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target) {
    if (target.size() > kLargestRomImage) {
        throw PatchError("the patched file has " + withCommas(target.size()) +
                         " bytes; patches are limited to " + withCommas(kLargestRomImage) +
                         " bytes");
    }
    BpsWriter w;
    w.out.reserve(4096);
    w.out.insert(w.out.end(), kMagic.begin(), kMagic.end());
    w.number(source.size());
    w.number(target.size());
    w.number(0);  // no metadata

    std::size_t out = 0;
    for (const BpsStep& step : PlanBpsActions(source, target)) {
        w.action(step.action, step.length);
        if (step.action == kTargetRead) {
            const auto bytes = target.subspan(out, step.length);
            w.out.insert(w.out.end(), bytes.begin(), bytes.end());
        } else if (step.action != kSourceRead) {
            w.number(step.relative);
        }
        out += step.length;
    }
    w.crc(Crc32(source));
    w.crc(Crc32(target));
    w.crc(Crc32(w.out));
    return std::move(w.out);
}

Bytes ApplyBpsPatch(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source) {
    if (patch.size() < kMagic.size() || std::memcmp(patch.data(), kMagic.data(), 4) != 0) {
        throw PatchError("this is not a BPS patch: it does not start with \"BPS1\"");
    }
    if (patch.size() < kMagic.size() + 3 + kFooterSize) {
        throwDamaged("it is too short to hold its sizes and checksums");
    }
    const auto footer = patch.last(kFooterSize);
    const std::uint32_t patchCrc = Crc32(patch.first(patch.size() - 4));
    if (patchCrc != littleEndian32(footer.subspan(8))) {
        throwDamaged("its contents have CRC32 " + hex8(patchCrc) + ", not " +
                     hex8(littleEndian32(footer.subspan(8))) + " as recorded in it");
    }
    PatchReader in(patch.subspan(4, patch.size() - 4 - kFooterSize));
    const std::uint64_t sourceSize = readNumber(in, "the source size");
    const std::uint64_t targetSize = readNumber(in, "the target size");
    const std::uint64_t metadataSize = readNumber(in, "the metadata size");

    const std::uint32_t sourceCrc = Crc32(source);
    if (sourceSize != source.size() || sourceCrc != littleEndian32(footer)) {
        throw PatchError("this patch is for a ROM of " + withCommas(sourceSize) +
                         " bytes with CRC32 " + hex8(littleEndian32(footer)) + "; this file has " +
                         withCommas(source.size()) + " bytes with CRC32 " + hex8(sourceCrc));
    }
    if (targetSize > kLargestRomImage) {
        throw PatchError("this patch makes a file of " + withCommas(targetSize) +
                         " bytes; patches are limited to " + withCommas(kLargestRomImage) +
                         " bytes");
    }
    in.take(static_cast<std::size_t>(std::min<std::uint64_t>(metadataSize, patch.size())),
            "the metadata");

    Bytes target(static_cast<std::size_t>(targetSize));
    runActions(in, source, target);
    const std::uint32_t targetCrc = Crc32(target);
    if (targetCrc != littleEndian32(footer.subspan(4))) {
        throw PatchError("the patched file has CRC32 " + hex8(targetCrc) +
                         " where the patch expects " + hex8(littleEndian32(footer.subspan(4))) +
                         ": the patch is faulty");
    }
    return target;
}

}  // namespace qm
