// The character map: its file and every refusal, display text both ways (token
// values untouched), the preview's columns, search with mapped characters, and
// the exchange formats carrying them without changing a byte.
#include <gtest/gtest.h>

#include "demo/demo.hpp"
#include "errors.hpp"
#include "exchange/formats.hpp"
#include "exchange/po_file.hpp"
#include "fixtures/rom_builder.hpp"
#include "markup/display.hpp"
#include "project/charmap_file.hpp"
#include "rom/load.hpp"
#include "save/writer.hpp"
#include "translation/filter.hpp"
#include "translation/replace.hpp"
#include "translation/row_state.hpp"

namespace qm {
namespace {

// ß, é, ł (beyond Latin-1), ":" and the runes of the demo's row 24.
const char* const kMapText =
    "\xEF\xBB\xBF# a German map\r\n7C=\xC3\x9F\r\n\r\nA=\xC3\xA9\n86=:\n"
    "90=\xC5\x82\na0=\xE1\x9A\xA0\nB1=\xE1\x9A\xB1\n";

CharacterMap germanMap() {
    return ParseCharacterMap(kMapText);
}

std::string repeated(const std::string& piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

TEST(CharacterMap, ReadsItsLinesAndFindsTheFreeCodes) {
    const CharacterMap map = germanMap();
    EXPECT_EQ(map.size(), 6u);
    EXPECT_EQ(map.characterOf(0x0A), U'\u00E9');
    EXPECT_EQ(map.codeOf(U'\u0142'), 0x90);
    EXPECT_EQ(ParseCharacterMap(CharacterMapText(map)), map);
    EXPECT_EQ(FreeCodes().size(), kFreeCodeCount);
    for (int code : {0x0A, 0x0C, 0x0E, 0x1F, 0x3A, 0x6A, 0x72, 0x76, 0xFE}) {
        EXPECT_TRUE(IsFreeCode(static_cast<std::uint8_t>(code))) << code;
    }
    for (int code : {0x09, 0x0D, 0x20, 0x3B, 0x5F, 0x69, 0x73, 0x75, 0xFF}) {
        EXPECT_FALSE(IsFreeCode(static_cast<std::uint8_t>(code))) << code;
    }
}

TEST(CharacterMap, RefusesEachWrongLineWithItsNumberAndWhy) {
    const std::pair<const char*, const char*> cases[] = {
        {"# fine\n6A=~\nxyz", "line 3: this line is not of the form XX=c"},
        {"6AB=~", "line 1: this line is not of the form XX=c"},
        {"=~", "line 1: this line is not of the form XX=c"},
        {"6A=", "line 1: no character follows \"=\""},
        {"6A=~ ", "line 1: more than one character follows \"=\""},
        {"6A=\xC3", "line 1: this line is not UTF-8 text"},
        {"20=~", "line 1: the code 20 is \"A\" in the game's font already"},
        {"60=~", "line 1: the code 60 is \"0\" in the game's font already"},
        {"3E=~", "line 1: the code 3E is \"'s\" in the game's font already"},
        {"1=~", "line 1: the code 01 is a control code"},
        {"d=~", "line 1: the code 0D is a control code"},
        {"FF=~", "line 1: the code FF ends every string"},
        {"6A=a", "line 1: \"a\" is in the game's font already"},
        {"6A=7", "line 1: \"7\" is in the game's font already"},
        {"6A=&", "line 1: \"&\" has a meaning in the markup"},
        {"6A=}", "line 1: \"}\" has a meaning in the markup"},
        {"6A= ", "line 1: \" \" has a meaning in the markup"},
        {"6A=\t", "line 1: U+0009 is a control character"},
        {"6A=~\n6a=^", "line 2: the code 6A is named a second time (line 1)"},
        {"6A=\xC3\xBC\n\n6B=\xC3\xBC",
         "line 3: \"\xC3\xBC\" (U+00FC) is named a second time (line 1)"},
    };
    for (const auto& [text, message] : cases) {
        try {
            ParseCharacterMap(text);
            ADD_FAILURE() << "took " << text;
        } catch (const ProjectFileError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, std::string(message).size()), message);
        }
    }
}

TEST(CharacterMap, ASavedMapKeepsTheCommentsOfItsFile) {
    CharacterMap map = germanMap();
    map.clear(0x0A);
    map.assign(0x7C, U'\u1E9E');  // capital sharp s
    map.assign(0x6A, U'-');
    const std::string text = CharacterMapText(map, kMapText);
    EXPECT_TRUE(text.starts_with("# a German map\n7C=\xE1\xBA\x9E\n\n86=:\n")) << text;
    EXPECT_NE(text.find("6A=-\n"), std::string::npos);
    EXPECT_EQ(ParseCharacterMap(text), map);
    EXPECT_THROW(map.assign(0x6B, U'-'), ProjectFileError);  // "-" is 6A's
    testing::TempDir dir;  // the window's Save: beside the ROM image, keeping the comments
    const std::string path = CharacterMapPathFor(testing::utf8(dir.path() / "story.smc"));
    EXPECT_TRUE(path.ends_with("story.tbl")) << path;
    testing::writeFile(path, testing::bytesOf(kMapText));
    WriteCharacterMapFile(path, map);
    EXPECT_EQ(testing::readText(path), text);
    EXPECT_EQ(ReadCharacterMapBeside(testing::utf8(dir.path() / "story.smc")), map);
}

TEST(Display, MappedPlaceholdersShowAsTheirCharactersButNotInsideTokens) {
    const CharacterMap map = germanMap();
    const std::pair<const char*, const char*> cases[] = {
        {"Stra{7C}e",
         "Stra\xC3\x9F"
         "e"},
        {"(Pause:{A}){A}", "(Pause:{A})\xC3\xA9"},
        {"Tipp{86} (TextSpeed:3)", "Tipp: (TextSpeed:3)"},
        {"{1F}{7C}{(return)", "{1F}\xC3\x9F{(return)"},
    };
    for (const auto& [markup, display] : cases) {
        EXPECT_EQ(MarkupToDisplay(markup, map), display);
        EXPECT_EQ(DisplayToMarkup(display, map), markup);
    }
    EXPECT_EQ(MarkupToDisplay("{7c}", map), "\xC3\x9F");  // any spelling of the value
    EXPECT_EQ(MarkupToDisplay("{7C}", CharacterMap()), "{7C}");
    EXPECT_EQ(DisplayPosition("{7C}x-", map, 4), 1u);
    try {
        DisplayToMarkup("\xE2\x82\xAC", map);
        ADD_FAILURE();
    } catch (const TextError& e) {
        EXPECT_STREQ(e.what(),
                     "\"\xE2\x82\xAC\" (U+20AC) is a character the game's font does "
                     "not have: give it a code in the character map");
    }
    const std::vector<MarkupProblem> problems = CheckDisplay("\xC3\x9F\xE2\x82\xAC-(x", map);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].position, 1u);  // positions count characters
    EXPECT_EQ(problems[1].position, 2u);
    EXPECT_EQ(problems[2].position, 3u);
}

TEST(Display, AMappedCharacterIsOneColumnOfTheBox) {
    const CharacterMap map = germanMap();
    EXPECT_TRUE(OverflowLines(repeated("{7C}", 20), map).empty());
    const std::vector<OverflowLine> over = OverflowLines(repeated("{7C}", 21), map);
    ASSERT_EQ(over.size(), 1u);
    EXPECT_EQ(over[0].over, 1u);
    EXPECT_EQ(over[0].text, repeated("\xC3\x9F", 21));
    EXPECT_EQ(OverflowLines(repeated("{7C}", 6)).size(), 1u);  // four columns without the map
}

TEST(Display, SearchAndReplaceTakeMappedCharacters) {
    const CharacterMap map = germanMap();
    StringEntry row;
    row.Text = "Die Stra{7C}e";
    RowFilter filter{"stra\xC3\x9F", StateChoice::All, &map};
    EXPECT_TRUE(PassesFilter(row, nullptr, RowState(), filter));
    SearchPattern whole{"Stra", false, true, &map};
    EXPECT_TRUE(MatchesIn(row.Text, whole).empty());  // ß is a letter of the word
    whole.map = nullptr;
    EXPECT_EQ(MatchesIn(row.Text, whole).size(), 1u);
    const std::vector<std::size_t> all{0};
    const SearchPattern sharpS{DisplayToMarkup("\xC3\x9F", map), true, false, &map};
    EXPECT_EQ(ReplaceAll(std::span(&row, 1), all, sharpS, "ss").rows.at(0).row.Text, "Die Strasse");
    try {
        ReplaceAll(std::span(&row, 1), all, {"Die", true, false, &map}, "{7C}{7C}-");
        ADD_FAILURE();
    } catch (const ReplaceError& e) {
        EXPECT_EQ(e.refusals().at(0).position, 2u);  // in what users see: "ßß-"
    }
}

TEST(Display, TablesCarryMappedCharactersAndChangeNoByte) {
    const CharacterMap map = germanMap();
    std::vector<StringEntry> rows = LoadRom(BuildDemoImage());
    rows[1].Text = "Gr{7C}e (Pause:{A}){A}";
    Bytes image = BuildDemoImage();
    ApplyLaidOutText(image, LayOutRows(rows));
    const std::vector<StringEntry> saved = LoadRom(image);
    const LaidOutText before = LayOutRows(saved);
    const TableContext context{{}, &map};
    for (TableFormat format : {TableFormat::Json, TableFormat::Csv, TableFormat::Po}) {
        if (format == TableFormat::Po && !PoFilesSupported()) {
            continue;
        }
        const std::string text = TableToText(format, saved, context);
        EXPECT_NE(text.find("Gr\xC3\x9F"
                            "e (Pause:{A})\xC3\xA9"),
                  std::string::npos);
        EXPECT_NE(text.find("rune, \xE1\x9A\xA0\xE1\x9A\xB1."), std::string::npos);
        const TableImport imported =
            ApplyTable(saved, TableFromText(format, text, context), context);
        EXPECT_EQ(imported.changed, 0u);
        EXPECT_EQ(LayOutRows(imported.rows).text, before.text);
    }
    const std::vector<FreeCodeUse> uses = FreeCodeUsage(saved);
    const auto use = [&uses](std::uint8_t code) {
        return *std::find_if(uses.begin(), uses.end(),
                             [code](const FreeCodeUse& u) { return u.code == code; });
    };
    EXPECT_EQ(use(0x7C), (FreeCodeUse{0x7C, 1, 1}));
    EXPECT_EQ(use(0x0A).uses, 1u);  // the (Pause:{A}) values do not count
    EXPECT_EQ(use(0xA0).rows, 16u);
}

}  // namespace
}  // namespace qm
