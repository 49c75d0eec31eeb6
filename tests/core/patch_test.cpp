// BPS and IPS patches: round trips over edited ROM images, hand-written patches
// for each action and record kind, and one row per way a patch can be malformed.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

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

Bytes baseRom() {
    testing::RomBuilder builder;
    for (int n = 0; n < 300; ++n) {
        Bytes text;
        for (int k = 0; k < 10 + n % 40; ++k) {
            text.push_back(static_cast<std::uint8_t>(0x20 + (n * 13 + k * 7) % 90));
        }
        builder.addString(text);
    }
    return builder.build();
}

void overwrite(Bytes& rom, std::size_t at, std::size_t length, std::uint8_t seed) {
    for (std::size_t k = 0; k < length; ++k) {
        // Runs of 0 every 97 bytes, as where a shorter text leaves region filler.
        rom[at + k] = k % 97 < 80 ? static_cast<std::uint8_t>((k * 7 + seed) & 0x7F) : 0;
    }
}

// Each edit as a save makes it, with the largest patch it may take: about the
// bytes changed, and little for long runs of one byte (TargetCopy, RLE records).
TEST(Patch, RoundTripsEditedImagesWithPatchesSizedByTheChange) {
    const Bytes source = baseRom();
    const struct {
        std::function<void(Bytes&)> edit;
        std::size_t maxPatchSize;
    } cases[] = {
        {[](Bytes& r) {
             for (std::size_t at : {100, 5000, 20000}) {
                 overwrite(r, kTextRegionOffset + at, 12, static_cast<std::uint8_t>(at));
             }
         },
         100},
        {[](Bytes& r) { overwrite(r, kTextRegionOffset + 10, 20 * 1024, 3); }, 20 * 1024},
        {[](Bytes& r) { overwrite(r, kTextRegionOffset, 50, 9), r.resize(kTextRegionEnd + 100); },
         100},
        {[](Bytes& r) { overwrite(r, kTextRegionOffset, 50, 9), r.resize(5 << 20, 0xFF); }, 256},
    };
    for (const auto& c : cases) {
        Bytes target = source;
        c.edit(target);
        for (PatchFormat format : {PatchFormat::Bps, PatchFormat::Ips}) {
            const Bytes patch = CreatePatch(format, source, target);
            EXPECT_EQ(ApplyPatch(patch, source), target) << target.size();
            EXPECT_LE(patch.size(), c.maxPatchSize) << target.size();
        }
    }
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

TEST(Patch, FormatNamesChecksumsAndLimits) {
    EXPECT_EQ(PatchFormatForFileName("C:\\hacks\\story.BPS"), PatchFormat::Bps);
    EXPECT_EQ(PatchFormatForFileName("/roms.ips/story"), std::nullopt);
    EXPECT_EQ(Crc32(bytesOf("123456789")), 0xCBF43926u);
    EXPECT_THROW(CreatePatch(PatchFormat::Ips, Bytes(kIpsMaxSize + 1), Bytes(1)), PatchError);
    EXPECT_NO_THROW(CreatePatch(PatchFormat::Ips, Bytes(1), Bytes(kIpsMaxSize)));
}

}  // namespace
}  // namespace qm
