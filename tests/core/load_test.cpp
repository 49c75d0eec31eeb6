// Loading: splitting the text region, building the rows, and the file checks.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "errors.hpp"
#include "fixtures/rom_builder.hpp"
#include "rom/layout.hpp"
#include "rom/load.hpp"
#include "rom/reader.hpp"

namespace qm {
namespace {

using testing::bytesOf;
using testing::RomBuilder;

TEST(Isolate, SplitsAtTerminatorsAndStopsAtThe512th) {
    const Bytes two = RomBuilder().addString({}).addString({}).addString({0x27, 0x48}).build();
    EXPECT_EQ(IsolateRomStrings(ReadRomText(two).TextBlock),
              (std::vector<std::string>{"", "0:", "0:", "1:Hi"}));
    RomBuilder many;
    for (int i = 0; i < 600; ++i) {
        many.addString({static_cast<std::uint8_t>(0x20 + i % 26)});
    }
    std::vector<std::string> reports;
    const ProgressFn record = [&](std::string_view s) { reports.emplace_back(s); };
    const auto strings = IsolateRomStrings(ReadRomText(many.build()).TextBlock, record);
    ASSERT_EQ(strings.size(), 513u);
    EXPECT_EQ(strings[512], "1021:R");                         // string 512 starts at offset 1022
    EXPECT_EQ(reports.back(), "Isolating ROM Strings: 3.6%");  // ends at the 512th terminator
    // With no terminator every byte is examined: each text once, where it first
    // shows, as a report for every byte gave them, from «0%» to «100%».
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < kTextRegionLength; ++i) {
        const std::string text =
            "Isolating ROM Strings: " + ProgressPercent(i / 28094.0 * 100) + "%";
        if (expected.empty() || expected.back() != text) {
            expected.push_back(text);
        }
    }
    reports.clear();
    IsolateRomStrings(Bytes(kTextRegionLength, 0x20), record);
    EXPECT_EQ(reports, expected);
}

TEST(StringTable, SettingsBecomeColumns) {
    struct Case {
        const char* decoded;  // as the split leaves it: bare digits for control bytes
        std::int16_t portrait;
        Colour coloured;
        const char* text;
    };
    const Case cases[] = {
        {"5143Hi", 3, Colour::Yes, "Hi"},
        {"", kPortraitNone, Colour::Unset, ""},
        {"4{A}Hi", 7, Colour::Unset, "Hi"},
        {"47Hi", kPortraitUnknown, Colour::Unset, "Hi"},
        {"52", kPortraitNone, Colour::Other, ""},
        {"4{B}", kPortraitUnknown, Colour::Unset, "B}"},
        {"5{B}41Hi", 1, Colour::Other, "B}Hi"},
        {"5140Hi15There", 0, Colour::Yes, "Hi(Pause:5)There"},
        // Only the colour code, then the portrait code, at the very start are
        // settings; any other shows as its bytes, so that it is seen and kept.
        {"4150Hi514{A}", 1, Colour::Unset, "{5}{0}Hi{5}{1}{4}{A}"},
        {"mor51ning", kPortraitNone, Colour::Unset, "mor{5}{1}ning"},
        {"5143Hi43", 3, Colour::Yes, "Hi{4}{3}"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> slots = {"", std::string("0:") + c.decoded};
        const Bytes block(kTextRegionLength, kTerminator);
        const StringEntry row = UpdateStringtable(slots, block).at(0);
        EXPECT_EQ(row.Portrait, c.portrait) << c.decoded;
        EXPECT_EQ(row.Coloured, c.coloured) << c.decoded;
        EXPECT_EQ(row.Text, c.text) << c.decoded;
    }
}

TEST(StringTable, AnEditKeepsTheCodesItLeavesAlone) {
    struct Case {
        Bytes loaded;  // the string's bytes, without the terminator
        std::int16_t portrait;
        Colour coloured;
        Bytes saved;  // with the text edited to "Yo"
    };
    const Case cases[] = {
        {{4, 7, 0x27, 0x48}, kPortraitUnknown, Colour::Unset, {4, 7, 0x38, 0x4E, 255}},
        {{5, 2, 4, 7}, kPortraitUnknown, Colour::Yes, {5, 1, 4, 7, 0x38, 0x4E, 255}},
        {{5, 2, 4, 7}, 0, Colour::Other, {5, 2, 4, 0, 0x38, 0x4E, 255}},
        {{5, 1, 4, 10}, kPortraitUnknown, Colour::Yes, {5, 1, 0x38, 0x4E, 255}},
        {{0x27, 5, 1}, kPortraitNone, Colour::Unset, {0x38, 0x4E, 5, 1, 255}}};
    for (const Case& c : cases) {
        const Bytes region = RomBuilder().addString(c.loaded).build();
        auto slots = IsolateRomStrings(ReadRomText(region).TextBlock);
        StringEntry row = UpdateStringtable(slots, ReadRomText(region).TextBlock).at(0);
        row.Text = "Yo" + (c.loaded[0] == 0x27 ? row.Text.substr(1) : "");  // "H" goes
        row.Portrait = c.portrait;
        row.Coloured = c.coloured;
        EXPECT_EQ(bytesOf(EncodedBytes(row)), c.saved) << row.Text;
        MarkSaved(std::span(&row, 1));  // and edited again after the save
        row.Text += "!";
        Bytes again = c.saved;
        again.insert(again.end() - 1, 0x74);
        EXPECT_EQ(bytesOf(EncodedBytes(row)), again) << row.Text;
    }
}

// Its progress texts reach the status bar: see the window's tests.
TEST(LoadRom, RefusesWhatIsNoRomImage) {
    testing::TempDir dir;
    RomBuilder().truncateTo(kTextRegionEnd - 1).writeTo(dir.path(), "short.smc");
    std::filesystem::resize_file(RomBuilder().writeTo(dir.path(), "huge.smc"),
                                 kLargestRomImage + 1);  // sparse, as a hostile file may be
#ifdef _WIN32
    const std::string device = "NUL";  // a device in every folder, never read as a file
#else
    const std::string device = "fifo.smc";  // would hold a reader forever
    ASSERT_EQ(::mkfifo((dir.path() / device).c_str(), 0600), 0);
#endif
    const std::pair<std::string, std::string> refusals[] = {
        {"short.smc", "3,179,454 bytes, and the text region ends at byte 3,179,455"},
        {"huge.smc", "67,108,865 bytes, and no image holds more than 67,108,864 bytes"},
        {device, "not a regular file"},
        {"", "a folder"}};
    for (const auto& [name, message] : refusals) {
        try {
            LoadRom((dir.path() / name).string());
            ADD_FAILURE() << name << " loaded";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace qm
