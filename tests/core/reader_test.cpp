#include <gtest/gtest.h>

#include "errors.hpp"
#include "fixtures/rom_builder.hpp"
#include "rom/reader.hpp"

namespace qm {
namespace {

using testing::bytesOf;
using testing::RomBuilder;

std::vector<std::string> isolate(const RomBuilder& builder) {
    return IsolateRomStrings(ReadRomText(builder.build()).TextBlock);
}

TEST(Reader, ReadsBothAreasAtTheirOffsets) {
    const Bytes image = RomBuilder().addString(bytesOf("\x27\x48")).build();
    const RomText text = ReadRomText(image);
    EXPECT_EQ(text.PointerTable[0], 0x00);
    EXPECT_EQ(text.PointerTable[1], 0x04);
    EXPECT_EQ(text.TextBlock[0], 0x27);
    EXPECT_EQ(text.TextBlock[2], 0xFF);
    EXPECT_EQ(text.TextBlock.back(), image[kTextRegionEnd - 1]);
}

TEST(Reader, ShortImageReadsMissingBytesAsZero) {
    const RomText tiny = ReadRomText(Bytes(kTextRegionOffset + 1, 0xFF));
    EXPECT_EQ(tiny.TextBlock[0], 0xFF);
    EXPECT_EQ(tiny.TextBlock[1], 0x00);
}

TEST(Reader, FileAndShortFileAndFailures) {
    testing::TempDir dir;
    const auto path = RomBuilder()
                          .addString(bytesOf("\x20"))
                          .truncateTo(kTextRegionOffset + 1)
                          .writeTo(dir.path(), "short.smc");
    std::vector<std::string> reports;
    const RomText text =
        ReadRomText(path.string(), [&](std::string_view s) { reports.emplace_back(s); });
    EXPECT_EQ(reports, (std::vector<std::string>{"Reading ROM Pointers", "Reading ROM Strings"}));
    EXPECT_EQ(text.TextBlock[0], 0x20);
    EXPECT_EQ(text.TextBlock[1], 0x00);
    EXPECT_THROW(ReadRomText(""), FileError);
    EXPECT_THROW(ReadRomText((dir.path() / "missing.smc").string()), FileError);
    EXPECT_THROW(ReadRomText(dir.path().string()), FileError);
}

TEST(Isolate, SplitsAtTerminatorsWithOriginNumbers) {
    const auto strings =
        isolate(RomBuilder().addString({}).addString({}).addString(bytesOf("\x27\x48")));
    ASSERT_EQ(strings.size(), 4u);
    EXPECT_EQ(strings[0], "");
    EXPECT_EQ(strings[1], "0:");
    EXPECT_EQ(strings[2], "0:");
    EXPECT_EQ(strings[3], "1:Hi");
}

TEST(Isolate, StopsAtThe512thTerminator) {
    RomBuilder builder;
    for (int i = 0; i < 600; ++i) {
        builder.addString(bytesOf(std::string(1, static_cast<char>(0x20 + i % 26))));
    }
    std::vector<std::string> reports;
    const auto strings = IsolateRomStrings(ReadRomText(builder.build()).TextBlock,
                                           [&](std::string_view s) { reports.emplace_back(s); });
    ASSERT_EQ(strings.size(), 513u);
    EXPECT_EQ(strings[512], "1021:R");  // string 512 starts at offset 1022
    EXPECT_EQ(reports.size(), 1024u);   // the loop ends at the 512th terminator
    EXPECT_EQ(reports.back(), "Isolating ROM Strings: 3.6%");
}

TEST(Isolate, ProgressTexts) {
    std::vector<std::string> reports;
    IsolateRomStrings(ReadRomText(RomBuilder().build()).TextBlock,
                      [&](std::string_view s) { reports.emplace_back(s); });
    ASSERT_EQ(reports.size(), kTextRegionLength);
    EXPECT_EQ(reports[0], "Isolating ROM Strings: 0%");
    EXPECT_EQ(reports[2810], "Isolating ROM Strings: 10.%");
    EXPECT_EQ(reports[14047], "Isolating ROM Strings: 50%");
    EXPECT_EQ(reports.back(), "Isolating ROM Strings: 100%");
}

TEST(Isolate, ProgressPercentTakesThreeCharacters) {
    EXPECT_EQ(ProgressPercent(0), "0");
    EXPECT_EQ(ProgressPercent(1.0 / 511 * 100), "0.1");
    EXPECT_EQ(ProgressPercent(52.0 / 511 * 100), "10.");
    EXPECT_EQ(ProgressPercent(100), "100");
    EXPECT_EQ(ProgressPercent(99.99), "99.");
}

}  // namespace
}  // namespace qm
