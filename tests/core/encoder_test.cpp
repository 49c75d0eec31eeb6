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
        {-1, Colour::Unset, "{1F}{a}{6A}", {31, 10, 106, 255}},
        {-1, Colour::Unset, "...''s'l'v", {94, 92, 90, 62, 59, 93, 255}},
        {-1, Colour::Unset, "?, >", {115, 91, 95, 117, 255}},
        // A placeholder byte is final: {28} stays 40 and is not read as "(".
        {-1, Colour::Unset, "{28}return)", {40, 81, 68, 83, 84, 81, 77, 41, 255}},
        {7, Colour::Yes, "Hi(Pause:5) ", {5, 1, 4, 10, 39, 72, 1, 5, 95, 255}}};
    for (const Case& c : cases) {
        EXPECT_EQ(bytesOf(StringtoQM(c.portrait, c.coloured, c.text)), c.bytes) << c.text;
    }
}

TEST(Encoder, RefusesWhatTheGameCannotHold) {
    const std::pair<const char*, const char*> cases[] = {
        {"(Pause:x)", "\"(Pause:x)\" has no number"},
        {"(Pause:-1)", "\"(Pause:-1)\" has no number"},
        {"(TextSpeed:256)", "\"(TextSpeed:256)\" is not a value from 0 to 255"},
        {"Hi(Pause:5", "\"(Pause:5\" has no closing \")\""},
        {"{100}", "\"{100}\" is not a value from 0 to 255"},
        {"{A{B}", "\"{A\" has no closing \"}\""},
        {"A}", "\"}\" has no opening \"{\""},
        {"{FF}", "\"{FF}\" is the end-of-string byte 255, which cannot stand inside a text"},
        {"caf\xE9", "\"\xE9\" is a character the game font does not have"}};
    for (const auto& [text, message] : cases) {
        try {
            StringtoQM(-1, Colour::Unset, text);
            ADD_FAILURE() << "encoded " << text;
        } catch (const EncodeError& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
    }
}

}  // namespace
}  // namespace qm
