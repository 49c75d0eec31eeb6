#include <gtest/gtest.h>

#include "rom/decoder.hpp"

namespace qm {
namespace {

struct DecodeCase {
    int byte;
    const char* symbol;
};

class DecoderTable : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecoderTable, DecodesByteToSymbol) {
    EXPECT_EQ(toascii(static_cast<std::uint8_t>(GetParam().byte)), GetParam().symbol);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindOfByte, DecoderTable,
    ::testing::Values(DecodeCase{0x00, "0"}, DecodeCase{0x05, "5"}, DecodeCase{0x09, "9"},
                      DecodeCase{0x0A, "{A}"}, DecodeCase{0x0C, "{C}"},
                      DecodeCase{0x0D, "(return)"}, DecodeCase{0x0E, "{E}"},
                      DecodeCase{0x0F, "{F}"}, DecodeCase{0x10, "{10}"}, DecodeCase{0x1F, "{1F}"},
                      DecodeCase{0x20, "A"}, DecodeCase{0x39, "Z"}, DecodeCase{0x3A, "{3A}"},
                      DecodeCase{0x3B, "'l"}, DecodeCase{0x3C, "'m"}, DecodeCase{0x3D, "'r"},
                      DecodeCase{0x3E, "'s"}, DecodeCase{0x3F, "'t"}, DecodeCase{0x40, "a"},
                      DecodeCase{0x59, "z"}, DecodeCase{0x5A, "'"}, DecodeCase{0x5B, ","},
                      DecodeCase{0x5C, "."}, DecodeCase{0x5D, "'v"}, DecodeCase{0x5E, ".."},
                      DecodeCase{0x5F, " "}, DecodeCase{0x60, "&0"}, DecodeCase{0x69, "&9"},
                      DecodeCase{0x6A, "{6A}"}, DecodeCase{0x72, "{72}"}, DecodeCase{0x73, "?"},
                      DecodeCase{0x74, "!"}, DecodeCase{0x75, ">"}, DecodeCase{0x76, "{76}"},
                      DecodeCase{0xFE, "{FE}"}, DecodeCase{0xFF, "{FF}"}));

// Whole-range properties: each symbol is short and never holds the characters
// the later passes reserve for themselves.
TEST(Decoder, NoByteDecodesToReservedCharacters) {
    for (int b = 0; b <= 255; ++b) {
        const std::string s = toascii(static_cast<std::uint8_t>(b));
        SCOPED_TRACE(b);
        EXPECT_GE(s.size(), 1u);
        EXPECT_LE(s.size(), 8u);
        EXPECT_EQ(s.find_first_of(":@#$%^|"), std::string::npos);
        if (b != 0x0D) {
            EXPECT_EQ(s.find('('), std::string::npos);
        }
    }
}

TEST(Decoder, AppendMatchesToascii) {
    std::string all;
    std::string expected;
    for (int b = 0; b <= 255; ++b) {
        appendDecoded(all, static_cast<std::uint8_t>(b));
        expected += toascii(static_cast<std::uint8_t>(b));
    }
    EXPECT_EQ(all, expected);
}

}  // namespace
}  // namespace qm
