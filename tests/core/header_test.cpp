// The SNES internal header: found at each layout's place (behind a copier header
// too) or not at all, its checksum against sums worked out by hand, and a fix
// that writes the four bytes of the pair, in memory and in a save on request.
#include <gtest/gtest.h>

#include "demo/demo.hpp"
#include "fixtures/rom_builder.hpp"
#include "rom/internal_header.hpp"
#include "rom/load.hpp"
#include "save/writer.hpp"
#include "text.hpp"

namespace qm {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;

// size bytes of fill (behind a copier header of 0xAB when copier) with a header
// at the layout's place: title 21 x "A", the map mode, zeros, then the pair.
Bytes image(std::size_t size, std::size_t place, std::uint8_t mapMode, bool copier = false,
            std::uint8_t fill = 0, std::uint16_t checksum = 0x1234) {
    const std::size_t header = copier ? 512 : 0;
    Bytes bytes(header + size, fill);
    std::fill_n(bytes.begin(), header, 0xAB);
    const std::size_t at = header + place;
    std::fill_n(bytes.begin() + at, kHeaderLength, 0);
    std::fill_n(bytes.begin() + at, kHeaderTitleLength, 'A');
    bytes[at + kHeaderMapMode] = mapMode;
    PutLittleEndian16(bytes, at + kHeaderComplement, checksum ^ 0xFFFF);
    PutLittleEndian16(bytes, at + kHeaderChecksum, checksum);
    return bytes;
}

TEST(InternalHeader, FoundByMapModePairAndTitleAtEachLayoutsPlace) {
    const auto with = [](Bytes file, std::size_t at, std::uint16_t value) {
        PutLittleEndian16(file, kHiRomHeaderOffset + at, value);
        return file;
    };
    const Bytes hi = image(kMiB, kHiRomHeaderOffset, 0x21, false, 0, 0x0000);
    const struct {
        Bytes file;
        std::optional<RomLayout> layout;
        std::size_t offset;
    } cases[] = {
        {image(kMiB, kLoRomHeaderOffset, 0x20), RomLayout::LoRom, 0x7FC0},
        {image(kMiB, kLoRomHeaderOffset, 0x30, true), RomLayout::LoRom, 0x81C0},
        {image(4 * kMiB, kHiRomHeaderOffset, 0x21), RomLayout::HiRom, 0xFFC0},
        {image(4 * kMiB, kHiRomHeaderOffset, 0x31, true), RomLayout::HiRom, 0x101C0},
        {image(6 * kMiB, kExHiRomHeaderOffset, 0x25), RomLayout::ExHiRom, 0x40FFC0},
        {image(6 * kMiB, kExHiRomHeaderOffset, 0x35, true), RomLayout::ExHiRom, 0x4101C0},
        {with(hi, kHeaderComplement, 0x0000), RomLayout::HiRom, 0xFFC0},  // a blank pair
        {Bytes(4 * kMiB, 0), std::nullopt, 0},
        {image(kMiB, kLoRomHeaderOffset, 0x21), std::nullopt, 0},  // HiROM's mode
        {image(kMiB, kHiRomHeaderOffset, 0x25), std::nullopt, 0},  // ExHiROM's
        {with(hi, kHeaderChecksum, 0x0001), std::nullopt, 0},      // an inconsistent pair
        {with(hi, 3, 0x0707), std::nullopt, 0},                    // a title not printable
    };
    for (const auto& c : cases) {
        const auto found = FindInternalHeader(c.file);
        ASSERT_EQ(found.has_value(), c.layout.has_value()) << c.offset;
        if (found) {
            EXPECT_EQ(found->layout, *c.layout);
            EXPECT_EQ(found->offset, c.offset);
            EXPECT_EQ(found->title, std::string(21, 'A'));
        }
    }
}

TEST(InternalHeader, ChecksumCountsThePairAsBlankAndRepeatsTheRestUpToAPowerOfTwo) {
    // The header's bytes: 21 x 0x41 + 0x21 + pair counted as FF FF 00 00 = 0x774.
    EXPECT_EQ(CheckHeaderChecksum(image(kMiB, kHiRomHeaderOffset, 0x21))->computed, 0x0774);
    // 1 MiB of 0xFF sums to 0 mod 0x10000; the header takes 32 x 0xFF out:
    // 0x774 - 0x1FE0 = 0xE794.
    Bytes ff = image(kMiB, kHiRomHeaderOffset, 0x21, false, 0xFF);
    EXPECT_EQ(CheckHeaderChecksum(ff)->computed, 0xE794);
    // 3 MiB: the last MiB counts twice, so 3 there adds 6; the copier header never.
    Bytes three = image(3 * kMiB, kHiRomHeaderOffset, 0x21, true);
    three[512 + 2 * kMiB + 5] = 3;
    EXPECT_EQ(CheckHeaderChecksum(three)->computed, 0x077A);
    // ExHiROM's header (0x778 with its mode 0x25) lies in the part that is
    // repeated: counted twice.
    const Bytes ex = image(6 * kMiB, kExHiRomHeaderOffset, 0x25);
    EXPECT_EQ(CheckHeaderChecksum(ex)->computed, 2 * 0x778);
}

TEST(InternalHeader, AFixWritesTheFourBytesOfThePairAndNothingElse) {
    Bytes file = image(3 * kMiB, kHiRomHeaderOffset, 0x21, true, 0x5A);
    const Bytes before = file;
    const auto fixed = FixHeaderChecksum(file);
    ASSERT_TRUE(fixed && fixed->right());
    EXPECT_EQ(CheckHeaderChecksum(file), fixed);
    const std::size_t pair = 512 + kHiRomHeaderOffset + kHeaderComplement;
    EXPECT_EQ(GetLittleEndian16(file, pair + 2), fixed->computed);
    std::copy_n(before.begin() + pair, 4, file.begin() + pair);
    EXPECT_EQ(file, before);  // nothing else changed
    Bytes none(kMiB, 0x5A);
    EXPECT_EQ(FixHeaderChecksum(none), std::nullopt);
    EXPECT_EQ(none, Bytes(kMiB, 0x5A));
    const auto text = [](std::uint16_t complement, std::uint16_t checksum) {
        InternalHeader h;
        h.complement = complement;
        h.checksum = checksum;
        return ChecksumText({h, 0x57ED});
    };
    EXPECT_EQ(text(0xEDCB, 0x1234), "Checksum 0x57ED, stored 0x1234: wrong");
    EXPECT_EQ(text(0xA812, 0x57ED), "Checksum 0x57ED, stored 0x57ED: right");
    EXPECT_EQ(text(0x0000, 0x57ED), "Checksum 0x57ED, stored 0x57ED with complement 0x0000: wrong");
}

TEST(InternalHeader, TheDemoIsRightAndASaveFixesItOnlyWhenAsked) {
    Bytes demo = BuildDemoImage();
    const auto state = CheckHeaderChecksum(demo);
    ASSERT_TRUE(state && state->right());
    EXPECT_EQ(state->header.layout, RomLayout::HiRom);
    EXPECT_EQ(state->header.title, "QUILLMOOR DEMO");
    std::vector<StringEntry> rows = LoadRom(demo);
    rows[0].Text = "Hi";
    Bytes plain = demo, fixed = demo;
    ApplySave(plain, LayOutRows(rows), {});
    ApplySave(fixed, LayOutRows(rows), {.fixHeaderChecksum = true, .expected = std::nullopt});
    EXPECT_FALSE(CheckHeaderChecksum(plain)->right());
    EXPECT_TRUE(CheckHeaderChecksum(fixed)->right());
    std::copy_n(plain.begin() + kHiRomHeaderOffset + kHeaderComplement, 4,
                fixed.begin() + kHiRomHeaderOffset + kHeaderComplement);
    EXPECT_EQ(fixed, plain);
    testing::TempDir dir;  // a scratch image leaves its file as it was
    const auto rom = dir.path() / "story.smc";
    testing::writeFile(rom, demo);
    EXPECT_TRUE(CheckHeaderChecksum(SavedImage(rom.string(), rows, {true, std::nullopt}))->right());
    EXPECT_EQ(testing::readFile(rom), demo);
}

}  // namespace
}  // namespace qm
