// The byte decoder, text settings, markup conversion, portraits, the pointer's
// hex form and the shared text helpers.
#include <gtest/gtest.h>

#include "errors.hpp"
#include "markup/helpers.hpp"
#include "markup/markup.hpp"
#include "markup/portraits.hpp"
#include "markup/text_settings.hpp"
#include "rom/decoder.hpp"
#include "text.hpp"

namespace qm {
namespace {

TEST(Decoder, OneByteOfEachKind) {
    const std::pair<int, const char*> cases[] = {
        {0x00, "0"},    {0x09, "9"},   {0x0A, "{A}"},  {0x0D, "(return)"}, {0x10, "{10}"},
        {0x20, "A"},    {0x59, "z"},   {0x3A, "{3A}"}, {0x3E, "'s"},       {0x5E, ".."},
        {0x5F, " "},    {0x60, "&0"},  {0x69, "&9"},   {0x6A, "{6A}"},     {0x75, ">"},
        {0xFE, "{FE}"}, {0xFF, "{FF}"}};
    for (const auto& [byte, symbol] : cases) {
        EXPECT_EQ(toascii(static_cast<std::uint8_t>(byte)), symbol) << byte;
    }
    // No byte decodes to the characters the later passes reserve for themselves.
    for (int b = 0; b <= 255; ++b) {
        const std::string s = toascii(static_cast<std::uint8_t>(b));
        EXPECT_EQ(s.find_first_of(b == 0x0D ? ":@#$%^|" : ":@#$%^|("), std::string::npos) << b;
    }
}

TEST(TextSettings, MarksControlDigitsAtOddPositionsOfTheirRun) {
    const std::pair<const char*, const char*> cases[] = {
        {"Hi51there", "Hi^1there"},
        {"5141Hello", "^1%1Hello"},
        {"514{A}Hi", "^1%{A}Hi"},
        {"1{C}", "@{C}"},
        {"1{1F}", "1{1F}"},
        {"{A}51", "{A}51"},
        {">51", ">51"},
        {"(return)12", "(return)@2"},
        {"Go.24", "Go.#4"},
        {"151", "@51"},
        {"05", "05"},
        {"&1&2", "&1&2"},
        {"", ""},
        // A text digit is one unit of its own; a placeholder's digits are one byte.
        {"Hey&515", "Hey&5@5"},
        {"{A}{16}", "{A}{16}"},
        {"{10}15", "{10}@5"}};
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(TextSettings(in), out) << in;
    }
}

TEST(Good, TurnsMarkersIntoTokens) {
    const std::pair<const char*, const char*> cases[] = {
        {"@5Hello", "(Pause:5)Hello"},
        {"#{A}", "(TextSpeed:{A})"},
        {"@&5", "@5"},
        {"@{1F}", "@{1F}"},
        {"@{a}", "@{a}"},
        {"@5#3$1", "(Pause:5)(TextSpeed:3)(Animation:1)"},
        {"&1&0 Men", "10 Men"},
        // Control bytes that formed no token keep their byte form.
        {"{A}15", "{A}{1}{5}"},
        {"{16}&1", "{16}1"}};
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(Good(in), out) << in;
    }
}

TEST(Portraits, NamesNumbersAndBytes) {
    for (std::int16_t n = kPortraitMin; n <= kPortraitMax; ++n) {
        EXPECT_EQ(GetPortraitNumber(GetPortraitName(n)), n);
    }
    EXPECT_EQ(GetPortraitNumber("none"), std::nullopt);
    EXPECT_EQ(GetPortraitName(8), "");
    EXPECT_EQ(PortraitByte(7), 10);
    EXPECT_EQ(PortraitByte(kPortraitUnknown), std::nullopt);
    EXPECT_EQ(PortraitOfByte(10), 7);
    EXPECT_EQ(PortraitOfByte(7), kPortraitUnknown);
}

TEST(Helpers, HexColourAndText) {
    EXPECT_EQ(GetHex(0x0400), "0004");
    EXPECT_EQ(GetHex(0x123), "2301");
    EXPECT_EQ(GetHex(-1), "FFFF");
    for (Colour c : {Colour::Unset, Colour::No, Colour::Yes, Colour::Other}) {
        EXPECT_EQ(ColourFromName(ColourName(c)), c);
    }
    EXPECT_EQ(ColourFromName("yes"), std::nullopt);
    EXPECT_EQ(WithThousands(4194304), "4,194,304");
    EXPECT_EQ(BytesText(1), "1 byte");
    EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8("caf\xE9")), "caf\xE9");
    EXPECT_THROW(Utf8ToLatin1("\xE2\x82\xAC"), TextError);  // the euro sign
    EXPECT_THROW(Utf8ToLatin1("\xC3"), TextError);
    EXPECT_THROW(Utf8ToLatin1("\xC0\xAF"), TextError);  // an overlong "/"
    EXPECT_EQ(DescribeCharacter('-'), "\"-\"");
    EXPECT_EQ(DescribeCharacter(0xE9), "\"\xC3\xA9\" (U+00E9)");
    EXPECT_EQ(DescribeCharacter('\t'), "U+0009");
}

}  // namespace
}  // namespace qm
