// The encoder: rows to game bytes, and the texts it refuses.
#include <gtest/gtest.h>

#include "errors.hpp"
#include "fixtures/rom_builder.hpp"
#include "markup/encoder.hpp"

namespace qm {
namespace {

using testing::bytesOf;

TEST(Encoder, EncodesRows) {
    struct Case {
        std::int16_t portrait;
        Colour coloured;
        const char* text;
        Bytes bytes;
    };
    const Case cases[] = {
        {-1, Colour::Unset, "", {255}},
        {0, Colour::No, "", {5, 0, 4, 0, 255}},
        {7, Colour::Yes, "Hi", {5, 1, 4, 10, 39, 72, 255}},
        {6, Colour::Other, "", {5, 0, 255}},
        {-1, Colour::Unset, "(Pause:{C})(TextSpeed:12)(Animation:3)", {1, 12, 2, 12, 3, 3, 255}},
        {-1, Colour::Unset, "(Pause: 7.9 )", {1, 7, 255}},
        {-1, Colour::Unset, "(return)10Go!", {13, 97, 96, 38, 78, 116, 255}},
        {-1, Colour::Unset, "{1F}{a}{6A}{FE}", {31, 10, 106, 254, 255}},
        {-1, Colour::Unset, "(Pause:254)(Animation:0)", {1, 254, 3, 0, 255}},
        {-1, Colour::Unset, "...''s'l'v", {94, 92, 90, 62, 59, 93, 255}},
        {-1, Colour::Unset, "?, >", {115, 91, 95, 117, 255}},
        // A placeholder byte is final: {28} stays 40 and is not read as "(".
        {-1, Colour::Unset, "{28}return", {40, 81, 68, 83, 84, 81, 77, 255}},
        {7, Colour::Yes, "Hi(Pause:5) ", {5, 1, 4, 10, 39, 72, 1, 5, 95, 255}}};
    for (const Case& c : cases) {
        EXPECT_EQ(bytesOf(StringtoQM(c.portrait, c.coloured, c.text)), c.bytes) << c.text;
    }
}

TEST(Encoder, RefusesWhatTheGameCannotHoldAndSaysWhere) {
    struct Case {
        const char* text;
        std::size_t position;
        const char* reason;
    };
    const Case cases[] = {
        {"a-b", 1, "\"-\" is a character the game's font does not have"},
        {"say \"hi\"", 4, "\"\"\" is a character the game's font does not have"},
        {"a\tb", 1, "U+0009 is a character the game's font does not have"},
        {"caf\xE9", 3, "\"\xC3\xA9\" (U+00E9) is a character the game's font does not have"},
        {"x(pause:3)", 1, "\"(pause:3)\" is not a token: did you mean \"(Pause:\"?"},
        {"(Return)", 0, "\"(Return)\" is not a token: did you mean \"(return)\"?"},
        {"(b)", 0, "\"(\" stands outside a token such as (Pause:5) or (return)"},
        {"b)", 1, "\")\" stands outside a token"},
        {"(Pause:x)", 0, "\"(Pause:x)\" has no number from 0 to 254"},
        {"Hi(Pause:5", 2, "\"(Pause:\" has no closing \")\""},
        {"(TextSpeed:300)", 0, "\"(TextSpeed:300)\" is not a value from 0 to 254"},
        {"(Pause:255)", 0,
         "\"(Pause:255)\" is the end-of-string byte 255, which cannot stand inside a text"},
        {"{FF}", 0, "\"{FF}\" is the end-of-string byte 255, which cannot stand inside a text"},
        {"{G}", 0,
         "\"{G}\" is no placeholder: write one or two hexadecimal digits, such as {A} or {6A}"},
        {"{100}", 0,
         "\"{100}\" is no placeholder: write one or two hexadecimal digits, such as {A} or {6A}"},
        {"{A{B}", 0, "\"{\" has no closing \"}\""},
        {"A}", 1, "\"}\" has no opening \"{\""}};
    for (const Case& c : cases) {
        const std::vector<MarkupProblem> problems = CheckMarkup(c.text);
        ASSERT_FALSE(problems.empty()) << c.text;
        EXPECT_EQ(problems[0].position, c.position) << c.text;
        EXPECT_EQ(problems[0].reason, c.reason);
        try {
            StringtoQM(-1, Colour::Unset, c.text);
            ADD_FAILURE() << "encoded " << c.text;
        } catch (const EncodeError& e) {
            EXPECT_EQ(e.position(), c.position);
            EXPECT_EQ(std::string(e.what()),
                      "character " + std::to_string(c.position + 1) + ": " + c.reason);
        }
    }
    EXPECT_EQ(CheckMarkup("a-b;c").size(), 2u);  // every problem, for the edit box
}

}  // namespace
}  // namespace qm
