#include <gtest/gtest.h>

#include "errors.hpp"
#include "fixtures/rom_builder.hpp"
#include "markup/encoder.hpp"

namespace qm {
namespace {

using testing::bytesOf;

struct EncodeCase {
    std::int16_t portrait;
    const char* coloured;
    const char* text;
    Bytes bytes;
};

class EncoderTable : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncoderTable, EncodesRow) {
    const auto& c = GetParam();
    EXPECT_EQ(bytesOf(StringtoQM(c.portrait, c.coloured, c.text)), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EncoderTable,
    ::testing::Values(
        EncodeCase{-1, "?", "", {255}}, EncodeCase{0, "No", "", {5, 0, 4, 0, 255}},
        EncodeCase{7, "Yes", "Hi", {5, 1, 4, 10, 39, 72, 255}}, EncodeCase{6, "?", "", {255}},
        EncodeCase{-1, "", "", {5, 0, 255}}, EncodeCase{-1, "No", "", {5, 0, 255}},
        EncodeCase{5, "?", "", {4, 5, 255}}, EncodeCase{-1, "?", "(Pause:5)", {1, 5, 255}},
        EncodeCase{-1, "?", "(Pause:{C})", {1, 12, 255}},
        EncodeCase{-1, "?", "(TextSpeed:12)", {2, 12, 255}},
        EncodeCase{-1, "?", "(Animation:3)", {3, 3, 255}},
        EncodeCase{-1, "?", "(Pause: 7 )", {1, 7, 255}},
        EncodeCase{-1, "?", "(Pause:7.9)", {1, 7, 255}},
        EncodeCase{-1, "?", "(Pause:254)", {1, 254, 255}},
        EncodeCase{-1, "?", "(return)", {13, 255}}, EncodeCase{-1, "?", "10", {97, 96, 255}},
        EncodeCase{-1, "?", "Go!", {38, 78, 116, 255}}, EncodeCase{-1, "?", "{1F}", {31, 255}},
        EncodeCase{-1, "?", "{A}", {10, 255}}, EncodeCase{-1, "?", "{a}", {10, 255}},
        EncodeCase{-1, "?", "{6A}", {106, 255}}, EncodeCase{-1, "?", "{}", {0, 255}},
        EncodeCase{-1, "?", "{0041}", {0x41, 255}}, EncodeCase{-1, "?", "...", {94, 92, 255}},
        EncodeCase{-1, "?", "''s", {90, 62, 255}},
        EncodeCase{-1, "?", "'l'm'r's't'v", {59, 60, 61, 62, 63, 93, 255}},
        EncodeCase{-1, "?", "?, >", {115, 91, 95, 117, 255}},
        EncodeCase{-1, "?", "Az", {32, 89, 255}}, EncodeCase{-1, "?", "&(", {38, 40, 255}},
        EncodeCase{-1, "?", "(Return)", {40, 49, 68, 83, 84, 81, 77, 41, 255}},
        // A placeholder byte is final: {28} stays 40 and is not read as "(".
        EncodeCase{-1, "?", "{28}return)", {40, 81, 68, 83, 84, 81, 77, 41, 255}},
        EncodeCase{-1, "?", "(Pause:{A}){B}", {1, 10, 11, 255}},
        EncodeCase{-1, "?", "x:{C}", {120 - 33, 58, 97, 98, 255}},
        EncodeCase{7, "Yes", "Hi(Pause:5) ", {5, 1, 4, 10, 39, 72, 1, 5, 95, 255}},
        // All pauses first, then text speeds, then animations.
        EncodeCase{-1, "?", "(Animation:1)(TextSpeed:2)(Pause:3)", {3, 1, 2, 2, 1, 3, 255}}));

struct RefusalCase {
    const char* text;
    const char* message;
};

class EncoderRefusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(EncoderRefusals, ReportsPieceAndReason) {
    try {
        StringtoQM(-1, "?", GetParam().text);
        FAIL() << "encoded " << GetParam().text;
    } catch (const EncodeError& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EncoderRefusals,
    ::testing::Values(
        RefusalCase{"(Pause:x)", "\"(Pause:x)\" has no number"},
        RefusalCase{"(Pause:)", "\"(Pause:)\" has no number"},
        RefusalCase{"(Pause:x y)", "\"(Pause:x y)\" has no number"},
        RefusalCase{"(Pause:-1)", "\"(Pause:-1)\" has no number"},
        RefusalCase{"(TextSpeed:256)", "\"(TextSpeed:256)\" is not a value from 0 to 255"},
        RefusalCase{"(Animation:99999999999)",
                    "\"(Animation:99999999999)\" is not a value from 0 to 255"},
        RefusalCase{"Hi(Pause:5", "\"(Pause:5\" has no closing \")\""},
        RefusalCase{"{100}", "\"{100}\" is not a value from 0 to 255"},
        RefusalCase{"(Pause:{1FF})", "\"{1FF}\" is not a value from 0 to 255"},
        RefusalCase{"{A{B}", "\"{A\" has no closing \"}\""},
        RefusalCase{"{A", "\"{A\" has no closing \"}\""},
        RefusalCase{"A}", "\"}\" has no opening \"{\""},
        RefusalCase{"{FF}",
                    "\"{FF}\" is the end-of-string byte 255, which cannot stand inside a text"},
        RefusalCase{
            "(Pause:255)",
            "\"(Pause:255)\" is the end-of-string byte 255, which cannot stand inside a text"},
        RefusalCase{"caf\xE9", "\"\xE9\" is a character the game font does not have"}));

}  // namespace
}  // namespace qm
