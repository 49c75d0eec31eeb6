#include "rom/internal_header.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <numeric>

#include "files.hpp"
#include "rom/layout.hpp"
#include "text.hpp"

namespace qm {

namespace {

constexpr std::uint8_t kFastRomBit = 0x10;
/// What the checksum counts in place of the pair's four bytes (complement
/// 0xFFFF, checksum 0x0000, little-endian).
constexpr std::array<std::uint8_t, 4> kCountedPair = {0xFF, 0xFF, 0x00, 0x00};

std::size_t offsetOf(RomLayout layout) {
    switch (layout) {
        case RomLayout::LoRom: return kLoRomHeaderOffset;
        case RomLayout::HiRom: return kHiRomHeaderOffset;
        case RomLayout::ExHiRom: return kExHiRomHeaderOffset;
    }
    return kLoRomHeaderOffset;
}

bool mapModeFits(RomLayout layout, std::uint8_t mode) {
    const int m = mode & ~kFastRomBit;
    switch (layout) {
        case RomLayout::LoRom: return m == 0x20 || m == 0x22 || m == 0x23;
        case RomLayout::HiRom: return m == 0x21;
        case RomLayout::ExHiRom: return m == 0x25;
    }
    return false;
}

bool printable(std::uint8_t c) {
    return (c >= 0x20 && c <= 0x7E) || (c >= 0xA1 && c <= 0xDF);
}

// Printable characters, then at most NUL padding, and not blank: a place of
// zeros or spaces is no title.
std::optional<std::string> titleOf(std::span<const std::uint8_t> bytes) {
    std::string title(bytes.begin(), bytes.end());
    while (!title.empty() && title.back() == '\0') {
        title.pop_back();
    }
    if (!std::all_of(title.begin(), title.end(), [](char c) { return printable(c); })) {
        return std::nullopt;
    }
    while (!title.empty() && title.back() == ' ') {
        title.pop_back();
    }
    return title.empty() ? std::nullopt : std::optional(title);
}

bool consistent(const InternalHeader& h) {
    return (h.complement ^ h.checksum) == 0xFFFF;
}

bool blank(const InternalHeader& h) {
    return h.complement == h.checksum && (h.checksum == 0x0000 || h.checksum == 0xFFFF);
}

std::optional<InternalHeader> headerAt(std::span<const std::uint8_t> file, RomLayout layout) {
    InternalHeader h;
    h.layout = layout;
    h.copierHeader = CopierHeaderLength(file.size());
    h.offset = h.copierHeader + offsetOf(layout);
    if (file.size() < h.offset + kHeaderLength) {
        return std::nullopt;
    }
    const auto bytes = file.subspan(h.offset, kHeaderLength);
    const auto title = titleOf(bytes.first(kHeaderTitleLength));
    h.mapMode = bytes[kHeaderMapMode];
    h.complement = GetLittleEndian16(bytes, kHeaderComplement);
    h.checksum = GetLittleEndian16(bytes, kHeaderChecksum);
    if (!title || !mapModeFits(layout, h.mapMode) || !(consistent(h) || blank(h))) {
        return std::nullopt;
    }
    h.title = *title;
    return h;
}

/// Sums of the ROM's bytes with the header's pair counted as kCountedPair.
// The sum of bytes, eight at a time: each 16-bit lane of a 64-bit word adds two
// bytes a step and is folded before it can overflow (128 steps: 65,280 at most).
std::uint64_t SumOfBytes(std::span<const std::uint8_t> bytes) {
    constexpr std::uint64_t kEveryOther = 0x00FF00FF00FF00FF;
    std::uint64_t total = 0;
    std::size_t i = 0;
    while (i + 8 <= bytes.size()) {
        std::uint64_t lanes = 0;
        for (const std::size_t end = std::min(bytes.size() - 7, i + 8 * 128); i < end; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + i, sizeof word);
            lanes += (word & kEveryOther) + ((word >> 8) & kEveryOther);
        }
        total +=
            (lanes & 0xFFFF) + ((lanes >> 16) & 0xFFFF) + ((lanes >> 32) & 0xFFFF) + (lanes >> 48);
    }
    for (; i < bytes.size(); ++i) {
        total += bytes[i];
    }
    return total;
}

class RomSum {
  public:
    RomSum(std::span<const std::uint8_t> file, const InternalHeader& header)
        : rom_(file.subspan(std::min(header.copierHeader, file.size()))),
          pair_(header.offset - header.copierHeader + kHeaderComplement) {}

    std::uint16_t checksum() const { return static_cast<std::uint16_t>(mirrored(0, rom_.size())); }

  private:
    std::uint64_t plain(std::size_t begin, std::size_t length) const {
        std::uint64_t sum = SumOfBytes(rom_.subspan(begin, length));
        for (std::size_t i = 0; i < kCountedPair.size(); ++i) {
            if (pair_ + i >= begin && pair_ + i < begin + length) {
                sum = sum - rom_[pair_ + i] + kCountedPair[i];
            }
        }
        return sum;
    }

    // The bytes from begin counted up to the next power of two of length: the
    // largest power of two once, the rest (counted the same way) repeated.
    std::uint64_t mirrored(std::size_t begin, std::size_t length) const {
        if (length == 0 || std::has_single_bit(length)) {
            return plain(begin, length);
        }
        const std::size_t whole = std::bit_floor(length);
        const std::size_t rest = length - whole;
        return plain(begin, whole) + mirrored(begin + whole, rest) * (whole / std::bit_ceil(rest));
    }

    std::span<const std::uint8_t> rom_;
    std::size_t pair_;
};

std::string hex4(std::uint16_t value) {
    std::string text = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) {
        text += HexDigit(static_cast<unsigned>(value >> shift));
    }
    return text;
}

}  // namespace

std::string_view LayoutName(RomLayout layout) {
    switch (layout) {
        case RomLayout::LoRom: return "LoROM";
        case RomLayout::HiRom: return "HiROM";
        case RomLayout::ExHiRom: return "ExHiROM";
    }
    return "LoROM";
}

std::optional<InternalHeader> FindInternalHeader(std::span<const std::uint8_t> file) {
    std::optional<InternalHeader> best;
    int bestRank = -1;
    for (RomLayout layout : {RomLayout::ExHiRom, RomLayout::HiRom, RomLayout::LoRom}) {
        const auto found = headerAt(file, layout);
        if (!found) {
            continue;
        }
        const int rank = !consistent(*found)                                  ? 0
                         : found->checksum == RomSum(file, *found).checksum() ? 2
                                                                              : 1;
        if (rank > bestRank) {
            best = found;
            bestRank = rank;
        }
    }
    return best;
}

std::uint16_t ComputeChecksum(std::span<const std::uint8_t> file, const InternalHeader& header) {
    return RomSum(file, header).checksum();
}

std::optional<HeaderChecksum> CheckHeaderChecksum(std::span<const std::uint8_t> file) {
    const auto header = FindInternalHeader(file);
    if (!header) {
        return std::nullopt;
    }
    return HeaderChecksum{*header, ComputeChecksum(file, *header)};
}

std::string ChecksumText(const HeaderChecksum& state) {
    std::string text =
        "Checksum " + hex4(state.computed) + ", stored " + hex4(state.header.checksum);
    if ((state.header.complement ^ state.header.checksum) != 0xFFFF) {
        text += " with complement " + hex4(state.header.complement);
    }
    return text + (state.right() ? ": right" : ": wrong");
}

std::optional<HeaderChecksum> FixHeaderChecksum(std::span<std::uint8_t> file) {
    auto state = CheckHeaderChecksum(file);
    if (!state) {
        return std::nullopt;
    }
    InternalHeader& h = state->header;
    h.checksum = state->computed;
    h.complement = state->computed ^ 0xFFFF;
    PutLittleEndian16(file, h.offset + kHeaderComplement, h.complement);
    PutLittleEndian16(file, h.offset + kHeaderChecksum, h.checksum);
    return state;
}

std::optional<HeaderChecksum> ReadHeaderChecksum(const std::string& path) {
    return CheckHeaderChecksum(RegularFile(path).readAll(kLargestRomImage));
}

}  // namespace qm
