// BPS and IPS patches: round trips over edited ROM images (read back by the
// applier and by a decoder of the tests' own), hand-written patches
// for each action and record kind, and one row per way a patch can be malformed.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "fixtures/patch_pairs.hpp"
#include "fixtures/rom_builder.hpp"
#include "patch/ips.hpp"
#include "patch/patch.hpp"

namespace qm {
namespace {

using namespace std::string_literals;
using qm::testing::bytesOf;

const Bytes kSource = bytesOf("ABCDEFGH");

void putCrc(Bytes& bytes, std::uint32_t crc) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(crc >> shift));
    }
}

// "BPS1", body and the three CRCs (for kSource and target), so a hand-written
// patch passes every check except the one it is about.
Bytes bps(const Bytes& body, const std::string& target = "") {
    Bytes patch = bytesOf("BPS1");
    patch.insert(patch.end(), body.begin(), body.end());
    putCrc(patch, Crc32(kSource));
    putCrc(patch, Crc32(bytesOf(target)));
    putCrc(patch, Crc32(patch));
    return patch;
}

Bytes ips(const Bytes& body) {
    Bytes patch = bytesOf("PATCH");
    patch.insert(patch.end(), body.begin(), body.end());
    return patch;
}

// The patch read action by action without the applier: the target it builds.
// Counts each action kind in count (index 4: a TargetCopy overlapping its own
// output). .at() throws where a patch reads outside a file.
Bytes decodeBps(const Bytes& patch, const Bytes& source, std::array<int, 5>& count) {
    std::size_t at = 4;
    const auto number = [&] {
        std::uint64_t value = 0;
        for (std::uint64_t shift = 1;; shift <<= 7, value += shift) {
            value += (patch.at(at) & 0x7F) * shift;
            if (patch.at(at++) & 0x80) {
                return value;
            }
        }
    };
    number();
    Bytes target(number());
    at += number();
    std::size_t out = 0;
    std::size_t cursors[4] = {};
    while (at < patch.size() - 12) {
        const std::uint64_t word = number();
        const auto kind = word & 3;
        const std::size_t length = (word >> 2) + 1;
        std::size_t& cursor = cursors[kind];
        if (kind >= 2) {
            const std::uint64_t offset = number();
            cursor = offset & 1 ? cursor - (offset >> 1) : cursor + (offset >> 1);
            count[4] += kind == 3 && cursor + length > out;
        }
        ++count[kind];
        for (std::size_t end = out + length; out < end; ++out) {
            target.at(out) = kind == 0   ? source.at(out)
                             : kind == 1 ? patch.at(at++)
                             : kind == 2 ? source.at(cursor++)
                                         : target.at(cursor++);
        }
    }
    return target;
}

// The shared pairs, and a shorter and a longer target, with the largest patch
// each may take: about the bytes changed, a few per moved string.
TEST(Patch, RoundTripsEditedImagesWithPatchesSizedByTheChange) {
    std::vector<testing::PatchPair> pairs = testing::PatchPairs();
    const Bytes source = pairs.back().source;  // the demo image
    pairs.push_back({"shorter", source, Bytes(source.begin(), source.begin() + kTextRegionEnd)});
    pairs.push_back({"longer", source, source});
    pairs.back().target.resize(5 << 20, 0xFF);
    // Found by fuzzing: a copy made only of literal bytes taken back, right behind
    // a look one byte ahead, was once copied from where it was being written.
    Bytes runs;
    for (const auto& [byte, count] : std::initializer_list<std::pair<std::uint8_t, int>>{
             {0, 62}, {2, 19}, {0, 56}, {0xFA, 1}, {0, 4}, {0x15, 1}, {0xAB, 1}, {0, 6}}) {
        runs.insert(runs.end(), count, byte);
    }
    pairs.push_back({"behind-lookahead", {}, runs});
    // The moved blocks and the header: a copy or two each, found among the dozens
    // of places that begin alike (an index that forgets them needs 45 to 85 bytes).
    const std::map<std::string, std::pair<std::size_t, std::size_t>> maxBpsAndIps = {
        {"import-200", {3000, 0}},       {"scattered-20k", {24000, 26000}},
        {"moved-64k", {50, 0}},          {"structured-moved-64k", {50, 0}},
        {"demo-moved-1m", {55, 0}},      {"header-added", {50, 0}},
        {"header-removed", {35, 0}},     {"rows-shuffled", {3200, 0}},
        {"word-row-1", {1500, 0}},       {"translation", {5000, 0}},
        {"shorter", {100, 100}},         {"longer", {100, 256}},
        {"behind-lookahead", {100, 100}}};
    std::array<int, 5> count{};
    for (const auto& [name, a, b] : pairs) {
        const Bytes bps = CreatePatch(PatchFormat::Bps, a, b);
        const Bytes ips = CreatePatch(PatchFormat::Ips, a, b);
        EXPECT_EQ(ApplyPatch(bps, a), b) << name;
        EXPECT_EQ(decodeBps(bps, a, count), b) << name;
        EXPECT_EQ(ApplyPatch(ips, a), b) << name;
        const auto [maxBps, maxIps] = maxBpsAndIps.at(name);
        EXPECT_LE(bps.size(), maxBps) << name;
        if (maxIps != 0) {  // IPS cannot copy: moved strings cost it all their bytes
            EXPECT_LE(ips.size(), maxIps) << name;
        }
    }
    EXPECT_GT(count[2], 0);  // SourceCopy
    EXPECT_GT(count[3], 0);  // TargetCopy
    EXPECT_GT(count[4], 0);  // overlapping
    // BPS knows the ROM it is for: one byte off, and it says which file it wanted.
    Bytes other = source;
    other[kTextRegionOffset + 500] ^= 1;
    char expected[200];
    std::snprintf(expected, sizeof expected,
                  "this patch is for a ROM of 4,194,304 bytes with CRC32 %08X; this file has "
                  "4,194,304 bytes with CRC32 %08X",
                  Crc32(source), Crc32(other));
    try {
        ApplyPatch(CreatePatch(PatchFormat::Bps, source, source), other);
        ADD_FAILURE() << "applied to the wrong ROM";
    } catch (const PatchError& e) {
        EXPECT_STREQ(e.what(), expected);
    }
}

TEST(Patch, AppliesHandWrittenPatches) {
    const struct {
        Bytes patch;
        std::string target;
    } cases[] = {
        // Metadata skipped; SourceCopy +4, then -8 back to the start.
        {bps({0x88, 0x88, 0x83, 'x', 'y', 'z', 0x8E, 0x88, 0x8E, 0x91}, "EFGHABCD"), "EFGHABCD"},
        // TargetCopy overlapping what it writes: two bytes apart, then one.
        {bps({0x88, 0x8C, 0x80, 0x85, 'A', 'B', 0x97, 0x80, 0x81, 'C', 0x8B, 0x84}, "ABABABABCCCC"),
         "ABABABABCCCC"},
        // RLE record, and a record past the end that lengthens the file.
        {ips({0, 0, 2, 0, 0, 0, 3, 'z', 0, 0, 10, 0, 1, 'q', 'E', 'O', 'F'}), "ABzzzFGH\0\0q"s},
        // Truncation size after "EOF".
        {ips({0, 0, 0, 0, 1, 'x', 'E', 'O', 'F', 0, 0, 5}), "xBCDE"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ApplyPatch(c.patch, kSource), bytesOf(c.target)) << c.target;
    }
}

TEST(Patch, RefusesMalformedPatches) {
    Bytes badCrc = bps({0x88, 0x81, 0x80, 0x81, 'a'}, "a");
    badCrc[6] ^= 1;
    const struct {
        Bytes patch;
        const char* message;
    } cases[] = {
        {bytesOf("XPS1"), "neither \"BPS1\" nor \"PATCH\""},
        {badCrc, "damaged: its contents have CRC32"},
        {bps({0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x80}),
         "source size holds a number too large"},
        {bps({0x88, 0x81, 0x80, 0x01}), "an action runs past the end of the patch"},
        {bps({0x88, 0x82, 0x80, 0x89, 'a', 'b', 'c'}),
         "an action writes past the end of the patched file"},
        {bps({0x88, 0x8A, 0x80, 0xA4}), "an action reads past the end of the source file"},
        {bps({0x88, 0x84, 0x80, 0x8E, 0x8C}), "a copy action reads past the end of the source"},
        {bps({0x88, 0x84, 0x80, 0x8E, 0x83}), "a copy action starts outside the source file"},
        {bps({0x88, 0x84, 0x80, 0x8F, 0x80}), "starts outside what is written so far"},
        {bps({0x88, 0x84, 0x80, 0x85, 'a', 'b'}),
         "actions end before the patched file is complete"},
        {bps({0x88, 0x81, 0x80, 0x81, 'a', 0x81}, "a"), "unexpected bytes follow its last action"},
        {bps({0x88, 0x81, 0x80, 0x81, 'a'}, "b"), "where the patch expects"},
        {bps({0x88, 0x81, 0xE4}), "the metadata runs past the end of the patch"},
        {bps({0x88, 0x7F, 0x7F, 0x7F, 0x7F, 0x80, 0x80}),
         "patches are limited to 67,108,864 bytes"},
        {ips({}), "without its \"EOF\" marker"},
        {ips({0, 0, 0, 0, 5, 'a', 'b'}), "a record runs past the end of the patch"},
        {ips({0, 0, 0, 0, 0, 0}), "an RLE record runs past the end of the patch"},
        {ips({0, 0, 0, 0, 0, 0, 0, 'x', 'E', 'O', 'F'}), "repeats its byte 0 times"},
        {ips({0xFF, 0xFF, 0xFF, 0, 2, 'a', 'b', 'E', 'O', 'F'}), "reaches past 16 MiB"},
        {ips({'E', 'O', 'F', 0}), "unexpected bytes follow its \"EOF\" marker"},
    };
    for (const auto& c : cases) {
        try {
            ApplyPatch(c.patch, kSource);
            ADD_FAILURE() << "accepted, expected: " << c.message;
        } catch (const PatchError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
                << e.what() << "\nexpected: " << c.message;
        }
    }
}

TEST(Patch, IpsRecordNeverStartsAtTheOffsetThatReadsAsEof) {
    const Bytes source(0x454F60, 0);
    Bytes target = source;
    std::fill_n(target.begin() + 0x454F46, 20, 0xAA);
    const Bytes patch = CreatePatch(PatchFormat::Ips, source, target);
    EXPECT_EQ(patch, ips({0x45, 0x4F, 0x45, 0, 2, 0, 0xAA,      // from 0x454F45, not 0x454F46
                          0x45, 0x4F, 0x47, 0, 0, 0, 19, 0xAA,  // RLE for the rest of the run
                          'E', 'O', 'F'}));
    EXPECT_EQ(ApplyPatch(patch, source), target);
}

// 64 MiB that share nothing with the source are carried whole: the patch is
// larger than the largest image, and the patch commands must still read it.
TEST(Patch, LargestPatchIsWithinWhatIsRead) {
    Bytes target(kLargestRomImage);
    std::uint64_t x = 0x9E3779B97F4A7C15u;
    for (auto& byte : target) {
        x ^= x << 13, x ^= x >> 7, x ^= x << 17;
        byte = static_cast<std::uint8_t>(x >> 24);
    }
    const Bytes source(kLargestRomImage, 0);
    const Bytes patch = CreatePatch(PatchFormat::Bps, source, target);
    EXPECT_GT(patch.size(), kLargestRomImage);
    EXPECT_LE(patch.size(), kMaxPatchSize);
    EXPECT_LE(patch.size(), kMaxPatchedSize);  // what the patch commands read
    EXPECT_TRUE(ApplyPatch(patch, source) == target);
}

TEST(Patch, FormatNamesChecksumsAndLimits) {
    EXPECT_EQ(PatchFormatForFileName("C:\\hacks\\story.BPS"), PatchFormat::Bps);
    EXPECT_EQ(PatchFormatForFileName("/roms.ips/story"), std::nullopt);
    EXPECT_EQ(Crc32(bytesOf("123456789")), 0xCBF43926u);
    EXPECT_THROW(CreatePatch(PatchFormat::Ips, Bytes(kIpsMaxSize + 1), Bytes(1)), PatchError);
    EXPECT_NO_THROW(CreatePatch(PatchFormat::Ips, Bytes(1), Bytes(kIpsMaxSize)));
}

}  // namespace
}  // namespace qm
