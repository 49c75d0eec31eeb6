// The text pipeline: the byte decoder, text settings, markup conversion, the
// encoder and what it refuses, the preview's text and overflow, Find's rules, and
// the shared text helpers.
#include <gtest/gtest.h>

#include "commands/find.hpp"
#include "errors.hpp"
#include "fixtures/rom_builder.hpp"
#include "markup/encoder.hpp"
#include "markup/helpers.hpp"
#include "markup/markup.hpp"
#include "markup/text_settings.hpp"
#include "preview/preview.hpp"
#include "rom/decoder.hpp"
#include "text.hpp"
#include "translation/filter.hpp"

namespace qm {
namespace {

using testing::bytesOf;

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
        {"1{1F}", "1{1F}"},
        {"{A}51", "{A}51"},
        {">51", ">51"},
        {"(return)12", "(return)@2"},
        {"151", "@51"},
        {"&1&2", "&1&2"},
        // A text digit is one unit of its own; a placeholder's digits are one byte.
        {"Hey&515", "Hey&5@5"},
        {"{10}15", "{10}@5"}};
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(TextSettings(in), out) << in;
    }
}

TEST(Good, TurnsMarkersIntoTokens) {
    const std::pair<const char*, const char*> cases[] = {
        {"@5Hello", "(Pause:5)Hello"},
        {"@&5", "@5"},
        {"@{1F}", "@{1F}"},
        {"@5#3$1", "(Pause:5)(TextSpeed:3)(Animation:1)"},
        {"&1&0 Men", "10 Men"},
        // Control bytes that formed no token keep their byte form.
        {"{A}15", "{A}{1}{5}"},
        {"{16}&1", "{16}1"}};
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(Good(in), out) << in;
    }
}

TEST(Helpers, Utf8AndTheEdgesOfHexAndCounts) {
    EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8("caf\xE9")), "caf\xE9");
    EXPECT_THROW(Utf8ToLatin1("\xE2\x82\xAC"), TextError);  // the euro sign
    EXPECT_THROW(Utf8ToLatin1("\xC3"), TextError);
    EXPECT_THROW(Utf8ToLatin1("\xC0\xAF"), TextError);  // an overlong "/"
    EXPECT_EQ(GetHex(-1), "FFFF");
    EXPECT_EQ(BytesText(1), "1 byte");
    // A quoted name keeps a message on one line, and in UTF-8.
    const std::pair<const char*, const char*> names[] = {
        {"a\nb.smc", "\"a\\nb.smc\""},
        {"tab\there\r", "\"tab\\x09here\\x0D\""},
        {"caf\xC3\xA9 \\ \"", "\"caf\xC3\xA9 \\ \"\""},
        {"caf\xE9", "\"caf\\xE9\""},
        {"\xC2\x85|\xE2\x80\xA8", "\"\\u0085|\\u2028\""}};
    for (const auto& [name, quoted] : names) {
        EXPECT_EQ(Quoted(name), quoted);
    }
}

TEST(Encoder, EncodesRows) {
    struct Case {
        std::int16_t portrait;
        Colour coloured;
        const char* text;
        Bytes bytes;
    };
    const Case cases[] = {
        {0, Colour::No, "", {5, 0, 4, 0, 255}},
        {7, Colour::Yes, "Hi", {5, 1, 4, 10, 39, 72, 255}},
        {6, Colour::Other, "", {5, 0, 255}},
        {-1, Colour::Unset, "(Pause:{C})(TextSpeed:12)(Animation:3)", {1, 12, 2, 12, 3, 3, 255}},
        {-1, Colour::Unset, "(Pause: 7.9 )", {1, 7, 255}},
        {-1, Colour::Unset, "(return)10Go!", {13, 97, 96, 38, 78, 116, 255}},
        {-1, Colour::Unset, "{1F}{a}{6A}{FE}", {31, 10, 106, 254, 255}},
        {-1, Colour::Unset, "...''s'l'v", {94, 92, 90, 62, 59, 93, 255}},
        // A placeholder byte is final: {28} stays 40 and is not read as "(".
        {-1, Colour::Unset, "{28}return", {40, 81, 68, 83, 84, 81, 77, 255}},
        // A code that takes a value takes the next byte, whatever it is.
        {-1, Colour::Unset, "{1}{5}{4}(return)", {1, 5, 4, 13, 255}},
        {7, Colour::Yes, "Hi(Pause:5) ", {5, 1, 4, 10, 39, 72, 1, 5, 95, 255}}};
    for (const Case& c : cases) {
        EXPECT_EQ(bytesOf(StringtoQM(c.portrait, c.coloured, c.text)), c.bytes) << c.text;
    }
}

#define MAP_HINT ": give it a code in the character map"
TEST(Encoder, RefusesWhatTheGameCannotHoldAndSaysWhere) {
    struct Case {
        const char* text;
        std::size_t position;
        const char* reason;
    };
    const Case cases[] = {
        {"a-b", 1, "\"-\" is a character the game's font does not have" MAP_HINT},
        {"say \"hi\"", 4, "\"\"\" is a character the game's font does not have" MAP_HINT},
        {"a\tb", 1, "U+0009 is a character the game's font does not have"},  // cannot be mapped
        {"caf\xE9", 3,
         "\"\xC3\xA9\" (U+00E9) is a character the game's font does not have" MAP_HINT},
        {"x(pause:3)", 1, "\"(pause:\" is not a token: did you mean \"(Pause:\"?"},
        {"(Foo:3)", 0, "\"(Foo:\" is not a token"},
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
        {"A}", 1, "\"}\" has no opening \"{\""},
        // The game would read the terminator as the value and read on.
        {"out.{1}", 4,
         "\"{1}\" is a control code that takes a value, and the text ends after it: "
         "the game would take the end of the string for its value"}};
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
    EXPECT_EQ(CheckMarkup("a-b;c(Foo:3)").size(), 3u);  // every problem, for the edit box
}

TEST(Preview, DisplayForm) {
    const std::pair<const char*, const char*> cases[] = {
        {"Hi(Pause:5) there(return)Bye", "Hi there Bye"},
        {"a (b) c", "a  c"},
        {"x) (y)", "x) "},
        {"open (never closed", "open (never closed"},
        {"((x)y)", "y)"}};
    for (const auto& [markup, preview] : cases) {
        EXPECT_EQ(GetPreview(markup), preview) << markup;
    }
    EXPECT_EQ(PreviewText("Hi(Pause:5) there(return)Bye"), "Hi there\nBye");
    EXPECT_EQ(PreviewText("a(b(return)c)d"), "ad");  // a stretch takes its line break
    std::string hostile(100000, '(');
    EXPECT_EQ(PreviewText(hostile + std::string(100000, ')')), std::string(99999, ')'));
}

TEST(Preview, OverflowBeyondTwoLinesOfTwenty) {
    const std::pair<const char*, std::vector<TextRange>> cases[] = {
        {"12345678901234567890\n12345678901234567890", {}},
        {"1234567890123456789012345", {{20, 5}}},
        {"Hello\nWorld\nHello", {{12, 5}}},
        {"a\nb\nc\nd", {{4, 3}}},
        {"a\nb\nxxxxxxxxxxxxxxxxxxxxxx", {{4, 22}, {24, 2}}}};
    for (const auto& [preview, ranges] : cases) {
        EXPECT_EQ(OverflowRanges(preview), ranges) << preview;
    }
}

TEST(Find, SearchesThePreviewFormWithoutCaseGoingOnFromTheFirstRowOnce) {
    EXPECT_TRUE(PreviewContains("Hello(return)world", "o w"));
    EXPECT_FALSE(PreviewContains("Hi(Pause:5)there", "Pause"));
    EXPECT_TRUE(PreviewContains("QUILLMOOR", "quillMoor"));
    EXPECT_FALSE(PreviewContains("caf\xC9", "caf\xE9"));  // only ASCII letters fold
    EXPECT_FALSE(PreviewContains("abc", ""));
    std::vector<StringEntry> rows(6);
    const char* texts[] = {"x", "moor", "x", "Moor(return)", "x", "(Pause:1)MOOR"};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].Text = texts[i];
    }
    std::vector<RowJump> visited;
    for (std::optional<std::size_t> at = 2; visited.size() < 4;) {
        visited.push_back(NextRowContaining(rows, at, "moor"));
        at = visited.back().row;
    }
    EXPECT_EQ(visited, (std::vector<RowJump>{{3, false}, {5, false}, {1, true}, {3, false}}));
    EXPECT_EQ(NextRowContaining(rows, 4, "x"), (RowJump{0, true}));
    EXPECT_EQ(NextRowContaining(rows, std::nullopt, "ink"), RowJump{});
    EXPECT_EQ(NotFoundMessage("ink"), "'ink' wasn't found.");
}

}  // namespace
}  // namespace qm
