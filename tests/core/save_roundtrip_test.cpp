// Load, save unchanged, compare: on the demo image only the strings stored in a
// non-canonical byte form may change.
#include <gtest/gtest.h>

#include <filesystem>

#include "markup/encoder.hpp"
#include "markup/portraits.hpp"
#include "rom/demo.hpp"
#include "save/writer.hpp"
#include "save_test_util.hpp"

namespace qm {
namespace {

using qm::testing::readFile;
using qm::testing::TempDir;

/// The strings of a region as the pointer table delimits them (each with its
/// terminator); the last one ends at its first terminator.
std::vector<Bytes> stringsOf(const Bytes& image) {
    std::vector<Bytes> out;
    auto entry = [&](std::size_t k) {
        std::size_t at = kPointerTableOffset + 2 * k;
        return static_cast<std::size_t>(image[at] | (image[at + 1] << 8)) - kPointerBase;
    };
    for (std::size_t k = 0; k < kStringCount; ++k) {
        std::size_t begin = kTextRegionOffset + entry(k);
        std::size_t end = begin;
        while (image[end] != kTerminator) {
            ++end;
        }
        out.emplace_back(image.begin() + begin, image.begin() + end + 1);
    }
    return out;
}

TEST(SaveRoundTrip, DemoImageChangesOnlyInNonCanonicalStrings) {
    TempDir dir;
    auto path = dir.path() / "demo.smc";
    const Bytes original = BuildDemoImage();
    qm::testing::writeFile(path, original);
    auto rows = LoadStringTable(path.string());
    ASSERT_EQ(rows.size(), 512u);
    SaveRom(path.string(), rows);
    const Bytes saved = readFile(path);
    ASSERT_EQ(saved.size(), original.size());

    // Outside the pointer table and the text region nothing changes.
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (i < kPointerTableOffset || i >= kTextRegionEnd) {
            ASSERT_EQ(saved[i], original[i]) << "offset " << i;
        }
    }
    // A string changes exactly when its stored bytes are not what the encoder
    // writes for its row.
    auto before = stringsOf(original);
    auto after = stringsOf(saved);
    std::vector<std::size_t> changed;
    for (std::size_t k = 0; k < kStringCount; ++k) {
        const StringEntry& r = rows[k];
        std::string canonical = StringtoQM(GetPortraitNumber(r.Portrait), r.Coloured, r.Text);
        EXPECT_EQ(after[k], Bytes(canonical.begin(), canonical.end())) << "row " << k + 1;
        if (after[k] != before[k]) {
            changed.push_back(k + 1);
        }
    }
    // The demo's three non-canonical strings: an unnamed portrait byte 7 (shown
    // "?", written without a portrait code), "'" "s" as 0x5A 0x52 (written 0x3E),
    // and "." "." as 0x5C 0x5C (written 0x5E).
    EXPECT_EQ(changed, (std::vector<std::size_t>{510, 511, 512}));
    EXPECT_EQ(after[509], qm::testing::bytesOf(StringtoQM(-1, "?", "Who's there?")));

    // Those three are 4 bytes shorter; the 4 old bytes behind the new end stay.
    std::size_t oldEnd = 0, newEnd = 0;
    for (const auto& s : before)
        oldEnd += s.size();
    for (const auto& s : after)
        newEnd += s.size();
    EXPECT_EQ(oldEnd - newEnd, 4u);
    for (std::size_t i = newEnd; i < kTextRegionLength; ++i) {
        ASSERT_EQ(saved[kTextRegionOffset + i], original[kTextRegionOffset + i]) << i;
    }
    // Pointer entries of the unchanged strings 1..510 are as before.
    for (std::size_t i = 0; i < 2 * 510; ++i) {
        EXPECT_EQ(saved[kPointerTableOffset + i], original[kPointerTableOffset + i]) << i;
    }
}

TEST(SaveRoundTrip, SecondSaveChangesNothing) {
    TempDir dir;
    auto path = dir.path() / "demo.smc";
    qm::testing::writeFile(path, BuildDemoImage());
    SaveRom(path.string(), LoadStringTable(path.string()));
    const Bytes once = readFile(path);
    SaveRom(path.string(), LoadStringTable(path.string()));
    EXPECT_EQ(readFile(path), once);
}

}  // namespace
}  // namespace qm
