// Text settings, markup conversion, portraits and the hex/yes-no helpers.
#include <gtest/gtest.h>

#include "markup/helpers.hpp"
#include "markup/markup.hpp"
#include "markup/portraits.hpp"
#include "markup/text_settings.hpp"

namespace qm {
namespace {

struct TextCase {
    const char* in;
    const char* out;
};

class TextSettingsTable : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextSettingsTable, MarksControlDigits) {
    const std::string result = TextSettings(GetParam().in);
    EXPECT_EQ(result, GetParam().out);
    EXPECT_EQ(result.size(), std::string(GetParam().in).size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextSettingsTable,
    ::testing::Values(TextCase{"Hi51there", "Hi^1there"}, TextCase{"5141Hello", "^1%1Hello"},
                      TextCase{"514{A}Hi", "^1%{A}Hi"}, TextCase{"1{C}", "@{C}"},
                      TextCase{"1{1F}", "1{1F}"}, TextCase{"{A}51", "{A}51"},
                      TextCase{">51", ">51"}, TextCase{"(return)12", "(return)@2"},
                      TextCase{"Go.24", "Go.#4"}, TextCase{"151", "@51"}, TextCase{"05", "05"},
                      TextCase{"99", "99"}, TextCase{"&1&2", "&1&2"}, TextCase{"", ""},
                      TextCase{"Plain text, no codes!", "Plain text, no codes!"},
                      TextCase{"3a", "3a"}, TextCase{"1{a}", "1{a}"},
                      // A text digit is one unit of its own: the code after it
                      // is still found, whatever stands before the digit.
                      TextCase{"Hey&515", "Hey&5@5"}, TextCase{"Hi&515", "Hi&5@5"},
                      TextCase{"&515", "&5@5"}, TextCase{"{A}&515", "{A}&5@5"},
                      // The digits of a placeholder spell one byte, never a code.
                      TextCase{"{A}{16}", "{A}{16}"}, TextCase{">{10}", ">{10}"},
                      TextCase{"{10}15", "{10}@5"}));

class GoodTable : public ::testing::TestWithParam<TextCase> {};

TEST_P(GoodTable, TurnsMarkersIntoTokens) {
    EXPECT_EQ(Good(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GoodTable,
    ::testing::Values(TextCase{"@5Hello", "(Pause:5)Hello"}, TextCase{"#{A}", "(TextSpeed:{A})"},
                      TextCase{"$0", "(Animation:0)"}, TextCase{"@&5", "@5"},
                      TextCase{"@{1F}", "@{1F}"}, TextCase{"@{a}", "@{a}"},
                      TextCase{"@{G}", "@{G}"},
                      TextCase{"@5#3$1", "(Pause:5)(TextSpeed:3)(Animation:1)"},
                      TextCase{"&1&0 Men", "10 Men"}, TextCase{"Just words.", "Just words."},
                      TextCase{"@", "@"}, TextCase{"x@{F}", "x(Pause:{F})"}, TextCase{"", ""},
                      // Control bytes that formed no token keep their byte form.
                      TextCase{"{A}15", "{A}{1}{5}"}, TextCase{"1{1F}", "{1}{1F}"},
                      TextCase{"Hi4", "Hi{4}"}, TextCase{"{16}&1", "{16}1"},
                      TextCase{"@{A}{B}", "(Pause:{A}){B}"}));

TEST(Portraits, NamesAndNumbersRoundTrip) {
    for (std::int16_t n = kPortraitMin; n <= kPortraitMax; ++n) {
        EXPECT_EQ(GetPortraitNumber(GetPortraitName(n)), n);
    }
}

TEST(Portraits, LookUps) {
    EXPECT_EQ(GetPortraitNumber("None"), -1);
    EXPECT_EQ(GetPortraitNumber("?"), 6);
    EXPECT_EQ(GetPortraitNumber("Mad Ms. Edna"), 7);
    EXPECT_EQ(GetPortraitNumber("Hilde"), 3);
    for (const char* unknown : {"", "none", "Hilde ", "Mad Ms Edna"}) {
        EXPECT_EQ(GetPortraitNumber(unknown), 0) << unknown;
    }
    EXPECT_EQ(GetPortraitName(-1), "None");
    EXPECT_EQ(GetPortraitName(2), "Mr. Thorley");
    for (std::int16_t out : {-2, 8, 100}) {
        EXPECT_EQ(GetPortraitName(out), "") << out;
    }
}

TEST(Portraits, BytesWritten) {
    EXPECT_FALSE(PortraitByte(-1));
    EXPECT_FALSE(PortraitByte(6));
    EXPECT_FALSE(PortraitByte(8));
    EXPECT_EQ(PortraitByte(0), 0);
    EXPECT_EQ(PortraitByte(5), 5);
    EXPECT_EQ(PortraitByte(7), 10);
}

TEST(Helpers, GetHexIsLittleEndianUpperCase) {
    const std::pair<std::int16_t, const char*> cases[] = {
        {0, "0000"},     {5, "0500"},      {31, "1F00"},     {291, "2301"},
        {1024, "0004"},  {4660, "3412"},   {-1, "FFFF"},     {-32768, "0080"},
        {32767, "FF7F"}, {0x71BE, "BE71"}, {0x0464, "6404"},
    };
    for (const auto& [value, hex] : cases) {
        EXPECT_EQ(GetHex(value), hex) << value;
    }
}

TEST(Helpers, YNIsExactYes) {
    EXPECT_TRUE(YN("Yes"));
    for (const char* other : {"No", "yes", "YES", "?", "", "Yes "}) {
        EXPECT_FALSE(YN(other)) << other;
    }
}

}  // namespace
}  // namespace qm
