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
Bytes bps(const std::string& body, const std::string& target = "") {
    Bytes patch = bytesOf("BPS1" + body);
    putCrc(patch, Crc32(kSource));
    putCrc(patch, Crc32(bytesOf(target)));
    putCrc(patch, Crc32(patch));
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
}

TEST(Patch, BpsRefusesARomThatDiffersInOneByte) {
    const Bytes source = baseRom();
    Bytes target = source;
    overwrite(target, kTextRegionOffset, 30, 1);
    Bytes other = source;
    other[kTextRegionOffset + 500] ^= 1;
    char expected[200];
    std::snprintf(expected, sizeof expected,
                  "this patch is for a ROM of 4,194,304 bytes with CRC32 %08X; this file has "
                  "4,194,304 bytes with CRC32 %08X",
                  Crc32(source), Crc32(other));
    try {
        ApplyPatch(CreatePatch(PatchFormat::Bps, source, target), other);
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
        {bps("\x88\x88\x83"
             "xyz"
             "\x8E\x88"
             "\x8E\x91",
             "EFGHABCD"),
         "EFGHABCD"},
        // TargetCopy overlapping what it writes: two bytes apart, then one.
        {bps("\x88\x8C\x80"
             "\x85"
             "AB"
             "\x97\x80"
             "\x81"
             "C"
             "\x8B\x84",
             "ABABABABCCCC"),
         "ABABABABCCCC"},
        // RLE record, and a record past the end that lengthens the file.
        {bytesOf("PATCH\0\0\x02\0\0\0\x03"
                 "z"
                 "\0\0\x0A\0\x01"
                 "qEOF"s),
         "ABzzzFGH\0\0q"s},
        {bytesOf("PATCH\0\0\0\0\x01"
                 "xEOF\0\0\x05"s),
         "xBCDE"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ApplyPatch(c.patch, kSource), bytesOf(c.target)) << c.target;
    }
}

TEST(Patch, RefusesMalformedPatches) {
    const struct {
        Bytes patch;
        const char* message;
    } cases[] = {
        {bytesOf("XPS1"), "neither \"BPS1\" nor \"PATCH\""},
        {bytesOf("BPS1\x88\x81\x80\x81"
                 "a" +
                 std::string(12, '\0')),
         "damaged: its contents have CRC32"},
        {bps(""), "too short"},
        {bps(std::string(10, '\x7F') + "\x80"), "source size holds a number too large"},
        {bps("\x88\x81\x80\x01"), "an action runs past the end of the patch"},
        {bps("\x88\x82\x80\x89"
             "abc"),
         "an action runs past the end of the patched file"},
        {bps("\x88\x84\x80\x8D"
             "ab"),
         "an action runs past the end of the patch"},
        {bps("\x88\x8A\x80\xA4"), "an action reads past the end of the source file"},
        {bps("\x88\x84\x80\x8E\x8C"), "a copy action reads past the end of the source file"},
        {bps("\x88\x84\x80\x8E\x83"), "a copy action starts outside the source file"},
        {bps("\x88\x84\x80\x8F\x80"), "starts outside what is written so far"},
        {bps("\x88\x84\x80\x85"
             "ab"),
         "actions end before the patched file is complete"},
        {bps("\x88\x81\x80\x81"
             "a"
             "\x81",
             "a"),
         "unexpected bytes follow its last action"},
        {bps("\x88\x81\x80\x81"
             "a",
             "b"),
         "where the patch expects"},
        {bps("\x88\x81\xE4"), "the metadata runs past the end of the patch"},
        {bps("\x88\x7F\x7F\x7F\x7F\x80\x80"), "patches are limited to 67,108,864 bytes"},
        {bytesOf("PATCH"), "without its \"EOF\" marker"},
        {bytesOf("PATCH\0\0\0\0\x05"
                 "ab"s),
         "a record runs past the end of the patch"},
        {bytesOf("PATCH\0\0\0\0\0\0"s), "an RLE record runs past the end of the patch"},
        {bytesOf("PATCH\0\0\0\0\0\0\0"
                 "xEOF"s),
         "repeats its byte 0 times"},
        {bytesOf("PATCH\xFF\xFF\xFF\0\x02"
                 "abEOF"s),
         "reaches past 16 MiB"},
        {bytesOf("PATCHEOF\0"s), "unexpected bytes follow its \"EOF\" marker"},
        {bytesOf("PATCHEOF\0\0\0\0"s), "unexpected bytes follow its \"EOF\" marker"},
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
    EXPECT_EQ(patch, bytesOf("PATCH\x45\x4F\x45\0\x02\0\xAA"
                             "\x45\x4F\x47\0\0\0\x13\xAA"
                             "EOF"s));
    EXPECT_EQ(ApplyPatch(patch, source), target);
}

TEST(Patch, FormatsNamesAndLimits) {
    EXPECT_EQ(PatchFormatForFileName("C:\\hacks\\story.BPS"), PatchFormat::Bps);
    EXPECT_EQ(PatchFormatForFileName("/roms/story.Ips"), PatchFormat::Ips);
    EXPECT_EQ(PatchFormatForFileName("story.bps.txt"), std::nullopt);
    EXPECT_EQ(PatchFormatForFileName("/roms.ips/story"), std::nullopt);
    EXPECT_EQ(Crc32(bytesOf("123456789")), 0xCBF43926u);
    EXPECT_THROW(CreatePatch(PatchFormat::Ips, Bytes(kIpsMaxSize + 1), Bytes(1)), PatchError);
    EXPECT_NO_THROW(CreatePatch(PatchFormat::Ips, Bytes(1), Bytes(kIpsMaxSize)));
}

}  // namespace
}  // namespace qm
