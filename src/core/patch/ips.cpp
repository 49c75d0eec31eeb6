#include "patch/ips.hpp"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "patch/patch_reader.hpp"

namespace qm {

namespace {

constexpr std::string_view kMagic = "PATCH";
constexpr std::string_view kEof = "EOF";
constexpr std::size_t kEofOffset = 0x454F46;  // these offset bytes read as "EOF"
constexpr std::size_t kMaxRecord = 0xFFFF;
constexpr std::size_t kHeaderSize = 5;  // offset and size
constexpr std::size_t kRleSize = 8;     // offset, 0, count, byte
// Unchanged bytes up to a record header's size are cheaper to rewrite than to skip.
constexpr std::size_t kMergeGap = kHeaderSize;

class IpsWriter {
  public:
    explicit IpsWriter(std::span<const std::uint8_t> target) : target_(target) {
        out.insert(out.end(), kMagic.begin(), kMagic.end());
    }

    Bytes out;

    // Writes target[from, end) as literal and RLE records.
    void stretch(std::size_t from, std::size_t end) {
        std::size_t p = from;
        while (p < end) {
            if (p == kEofOffset) {
                --p;  // start one byte earlier and write that byte as it is
            }
            if (worthRle(p, end, false)) {
                const std::size_t count = runLength(target_, p, std::min(end, p + kMaxRecord));
                record(p, 0);
                put(count, 2);
                out.push_back(target_[p]);
                p += count;
                continue;
            }
            std::size_t q = p + 1;
            while (q < end && q - p < kMaxRecord && !worthRle(q, end, true)) {
                ++q;
            }
            if (q == kEofOffset && q < end) {
                q = q - p < kMaxRecord ? q + 1 : q - 1;  // the next record must not start here
            }
            record(p, q - p);
            out.insert(out.end(), target_.begin() + static_cast<std::ptrdiff_t>(p),
                       target_.begin() + static_cast<std::ptrdiff_t>(q));
            p = q;
        }
    }

    void put(std::size_t value, int width) {
        for (int shift = 8 * (width - 1); shift >= 0; shift -= 8) {
            out.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }

  private:
    std::span<const std::uint8_t> target_;

    void record(std::size_t offset, std::size_t size) {
        put(offset, 3);
        put(size, 2);
    }

    // An RLE record costs 8 bytes, plus a header for the literal after it unless
    // the run ends the stretch; started outside a literal, it saves that literal's.
    bool worthRle(std::size_t at, std::size_t end, bool insideLiteral) const {
        const std::size_t run =
            runLength(target_, at, std::min(end, at + kRleSize + kHeaderSize + 1));
        const std::size_t cost =
            kRleSize + (at + run < end ? kHeaderSize : 0) - (insideLiteral ? 0 : kHeaderSize);
        return run > cost;
    }
};

struct Record {
    std::size_t offset;
    std::size_t size;
    std::span<const std::uint8_t> data;  // empty for an RLE record
    std::uint8_t fill;
};

// Reads up to and including "EOF". Returns the records; size grows to the end of
// the furthest one.
std::vector<Record> readRecords(PatchReader& in, std::size_t& size) {
    std::vector<Record> records;
    for (;;) {
        if (in.remaining() < kEof.size()) {
            throwDamaged("it ends without its \"EOF\" marker");
        }
        const auto head = in.take(3, "a record");
        if (std::memcmp(head.data(), kEof.data(), 3) == 0) {
            return records;
        }
        Record r{};
        r.offset = static_cast<std::size_t>(head[0]) << 16 | head[1] << 8 | head[2];
        r.size = in.bigEndian(2, "a record");
        if (r.size == 0) {
            r.size = in.bigEndian(2, "an RLE record");
            r.fill = in.byte("an RLE record");
            if (r.size == 0) {
                throwDamaged("an RLE record repeats its byte 0 times");
            }
        } else {
            r.data = in.take(r.size, "a record");
        }
        if (r.offset + r.size > kIpsMaxSize) {
            throwDamaged("a record reaches past 16 MiB, further than IPS can address");
        }
        size = std::max(size, r.offset + r.size);
        records.push_back(r);
    }
}

}  // namespace

Bytes CreateIpsPatch(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target) {
    if (std::max(source.size(), target.size()) > kIpsMaxSize) {
        throw PatchError("IPS cannot patch files over 16 MiB (" + withCommas(kIpsMaxSize) +
                         " bytes); this one has " +
                         withCommas(std::max(source.size(), target.size())) +
                         " bytes: use BPS instead");
    }
    IpsWriter w(target);
    const std::size_t common = std::min(source.size(), target.size());
    const auto differs = [&](std::size_t k) { return k >= common || source[k] != target[k]; };
    std::size_t from = 0;
    while (true) {
        from += from < common ? matchLength(source, target, from, common) : 0;
        if (from >= target.size()) {
            break;
        }
        // Extend over the differences and the short unchanged gaps between them.
        std::size_t end = from;
        while (true) {
            while (end < target.size() && differs(end)) {
                ++end;
            }
            const std::size_t gap = end < common ? matchLength(source, target, end, common) : 0;
            if (end == target.size() || gap > kMergeGap || end + gap >= target.size()) {
                break;
            }
            end += gap;
        }
        w.stretch(from, end);
        from = end;
    }
    w.out.insert(w.out.end(), kEof.begin(), kEof.end());
    if (target.size() < source.size()) {
        w.put(target.size(), 3);
    }
    return std::move(w.out);
}

Bytes ApplyIpsPatch(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source) {
    if (patch.size() < kMagic.size() || std::memcmp(patch.data(), kMagic.data(), 5) != 0) {
        throw PatchError("this is not an IPS patch: it does not start with \"PATCH\"");
    }
    PatchReader in(patch.subspan(kMagic.size()));
    std::size_t size = source.size();
    const std::vector<Record> records = readRecords(in, size);
    std::optional<std::size_t> truncateTo;
    if (in.remaining() == 3) {
        truncateTo = in.bigEndian(3, "the truncation size");
    } else if (in.remaining() != 0) {
        throwDamaged("unexpected bytes follow its \"EOF\" marker");
    }

    Bytes out(size);
    std::copy(source.begin(), source.end(), out.begin());
    for (const Record& r : records) {
        auto dest = out.begin() + static_cast<std::ptrdiff_t>(r.offset);
        if (r.data.empty()) {
            std::fill_n(dest, r.size, r.fill);
        } else {
            std::copy(r.data.begin(), r.data.end(), dest);
        }
    }
    if (truncateTo) {
        out.resize(*truncateTo);
    }
    return out;
}

}  // namespace qm
