#include <gtest/gtest.h>

#include "fixtures/rom_builder.hpp"
#include "rom/reader.hpp"
#include "rom/string_table.hpp"

namespace qm {
namespace {

using testing::bytesOf;

// Builds the row of one decoded string (what the split leaves in a slot).
StringEntry rowOf(const std::string& decoded, std::size_t k = 1, const std::string& origin = "0") {
    std::vector<std::string> slots(k + 1);
    for (std::size_t i = 1; i < k; ++i) {
        slots[i] = "0:";
    }
    slots[k] = origin + ":" + decoded;
    return UpdateStringtable(slots).back();
}

struct ColumnsCase {
    const char* decoded;
    const char* portrait;
    const char* coloured;
    const char* text;
};

class SettingsColumns : public ::testing::TestWithParam<ColumnsCase> {};

TEST_P(SettingsColumns, ReadsAndRemovesSettings) {
    const auto& c = GetParam();
    const StringEntry row = rowOf(c.decoded);
    EXPECT_EQ(row.Portrait, c.portrait);
    EXPECT_EQ(row.Coloured, c.coloured);
    EXPECT_EQ(row.Text, c.text);
}

// Decoded texts as the split writes them: bare digits for control bytes.
INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsColumns,
    ::testing::Values(ColumnsCase{"5143Hi", "Hilde", "Yes", "Hi"}, ColumnsCase{"", "None", "?", ""},
                      ColumnsCase{"4{A}Hi", "Mad Ms. Edna", "?", "Hi"},
                      ColumnsCase{"47Hi", "?", "?", "Hi"}, ColumnsCase{"50", "None", "No", ""},
                      ColumnsCase{"52", "None", "", ""}, ColumnsCase{"4{B}", "?", "?", "B}"},
                      ColumnsCase{"Hi4", "None", "?", "Hi{4}"},
                      ColumnsCase{"{A}{16}", "None", "?", "{A}{16}"},
                      // Later settings lose exactly one following character: «%{A}» leaves «A}».
                      ColumnsCase{"4150Hi514{A}", "Ms. Edna", "No", "HiA}"},
                      ColumnsCase{"5140Hi15There", "Rosalind", "Yes", "Hi(Pause:5)There"},
                      ColumnsCase{"Hey&515", "None", "?", "Hey5(Pause:5)"},
                      ColumnsCase{"&1&0 Men", "None", "?", "10 Men"},
                      ColumnsCase{"(return)12x", "None", "?", "(return)(Pause:2)x"}));

TEST(StringTable, PointerAndNumberColumns) {
    std::vector<std::string> slots = {"", "0:Hi", "2:", "99:Yo"};
    const auto rows = UpdateStringtable(slots);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Number, "1");
    EXPECT_EQ(rows[2].Number, "3");
    EXPECT_EQ(rows[0].PointerValue, "0004");
    EXPECT_EQ(rows[1].PointerValue, "0304");
    EXPECT_EQ(rows[2].PointerValue, "6404");
    // Each slot is rewritten to origin + ":" + the marked text.
    EXPECT_EQ(slots[3], "99:Yo");
}

TEST(StringTable, SlotsKeepMarkedText) {
    std::vector<std::string> slots = {"", "0:5141Hi"};
    UpdateStringtable(slots);
    EXPECT_EQ(slots[1], "0:^1%1Hi");
}

TEST(StringTable, EmptyRegionStringAtTheVeryEndHasGreatestPointer) {
    testing::RomBuilder builder;
    builder.addRaw(Bytes(kTextRegionLength - 2, 0x20)).addString({}).addString({});
    auto slots = IsolateRomStrings(ReadRomText(builder.build()).TextBlock);
    const auto rows = UpdateStringtable(slots);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].PointerValue, "BE71");
    EXPECT_EQ(rows[1].Text, "");
}

TEST(StringTable, StatusTextsCarryZeroToTwoDots) {
    EXPECT_EQ(ParsingStatus(0.0), "Parsing ROM Strings And Adding to String Table");
    EXPECT_EQ(ParsingStatus(0.34), "Parsing ROM Strings And Adding to String Table.");
    EXPECT_EQ(ParsingStatus(0.999), "Parsing ROM Strings And Adding to String Table..");
    std::vector<std::string> slots = {"", "0:", "0:", "0:"};
    std::vector<std::string> reports;
    double r = 0.0;
    UpdateStringtable(
        slots, [&](std::string_view s) { reports.emplace_back(s); }, [&] { return r += 0.3; });
    EXPECT_EQ(reports, (std::vector<std::string>{ParsingStatus(0.3), ParsingStatus(0.6),
                                                 ParsingStatus(0.9)}));
}

TEST(StringTable, ColumnAccessByIndex) {
    StringEntry row{"1", "Ivy", "Hi", "No", "0004"};
    for (int c = 0; c < kColumnCount; ++c) {
        columnText(row, c) += "!";
    }
    EXPECT_EQ(row, (StringEntry{"1!", "Ivy!", "Hi!", "No!", "0004!"}));
}

}  // namespace
}  // namespace qm
