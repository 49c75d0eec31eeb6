// The string table in JSON, CSV and PO: unchanged round trips change no byte,
// translations and spreadsheet edits come in exactly, and every kind of bad file
// or row is refused with where and why. What we write is read by gettext's
// msgfmt and by Python's csv module.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "demo/demo.hpp"
#include "errors.hpp"
#include "exchange/formats.hpp"
#include "fixtures/rom_builder.hpp"
#include "rom/load.hpp"
#include "save/writer.hpp"

namespace qm {
namespace {

using testing::bytesOf;

// Strings the editor would write differently, an empty one, and commas.
std::vector<StringEntry> oddRows() {
    return LoadRom(testing::RomBuilder()
                       .addString(bytesOf("\x04\x07\x27\x5A\x52"))      // "?" portrait, "'s" in two
                       .addString(bytesOf("\x05\x02\x48\x5B\x5F\x48"))  // colour 2, "i, i"
                       .addString({})
                       .build());
}

std::string run(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    for (int c; pipe != nullptr && (c = std::fgetc(pipe)) != EOF;) {
        out += static_cast<char>(c);
    }
    return pipe != nullptr && ::pclose(pipe) == 0 ? out : "(failed) " + out;
}

std::filesystem::path written(const testing::TempDir& dir, const char* name,
                              const std::string& text) {
    std::ofstream(dir.path() / name, std::ios::binary) << text;
    return dir.path() / name;
}

TEST(Exchange, AnUnchangedExportImportsToTheSameBytesInEveryFormat) {
    for (const auto& rows : {LoadRom(BuildDemoImage()), oddRows()}) {
        const LaidOutText before = LayOutRows(rows);
        for (TableFormat format : {TableFormat::Json, TableFormat::Csv, TableFormat::Po}) {
            const TableImport imported =
                ApplyTable(rows, TableFromText(format, TableToText(format, rows)));
            EXPECT_EQ(imported.changed, 0u) << int(format);
            EXPECT_TRUE(imported.notes.empty());
            EXPECT_EQ(LayOutRows(imported.rows).text, before.text) << int(format);
        }
    }
}

TEST(Exchange, OthersToolsReadWhatWeWrite) {
    testing::TempDir dir;
    const auto rows = oddRows();
    const auto po = written(dir, "table.po", TableToPo(rows));
    EXPECT_EQ(run("msgfmt -c -o /dev/null " + po.string() + " 2>/dev/null"), "");
    const auto csv = written(dir, "table.csv", TableToCsv(rows));
    const auto read = nlohmann::json::parse(
        run("python3 -c 'import csv, json, sys; print(json.dumps(list(csv.reader(open(sys.argv[1], "
            "newline=\"\", encoding=\"utf-8\")))))' " +
            csv.string()));
    ASSERT_EQ(read.size(), rows.size() + 1);
    EXPECT_EQ(read[0], nlohmann::json::parse(
                           R"(["Number", "Portrait", "Text", "Coloured", "Pointer Value"])"));
    EXPECT_EQ(read[2], nlohmann::json::parse(R"(["2", "None", "i, i", "", "0604"])"));
    EXPECT_NE(TableToPo(rows).find("#. Portrait: ?\n#. Coloured: ?\n#. Preview: H's\n"),
              std::string::npos);
}

TEST(Exchange, ATranslatedPoBringsInItsFilledEntriesOnly) {
    const auto rows = oddRows();
    const std::string po = R"(msgid ""
msgstr "Content-Type: text/plain; charset=UTF-8\n"

msgctxt "1"
msgid "H's"
msgstr "Hallo(return)Welt"

#, fuzzy
msgctxt "2"
msgid "i, i"
msgstr "unsicher"

msgctxt "3"
msgid "was here"
msgstr "Neu"
)";
    const TableImport imported = ApplyTable(rows, TableFromPo(po));
    EXPECT_EQ(imported.changed, 2u);
    EXPECT_EQ(imported.rows[0].Text, "Hallo(return)Welt");
    EXPECT_EQ(imported.rows[0].Portrait, kPortraitUnknown);  // portraits stay
    EXPECT_EQ(imported.rows[1].Text, "i, i");
    EXPECT_EQ(imported.rows[2].Text, "Neu");
    EXPECT_EQ(imported.notes, std::vector<std::string>{"row 3 has changed since the export"});
}

TEST(Exchange, ACsvAsASpreadsheetWritesItImportsExactlyItsEdits) {
    const auto rows = oddRows();
    const std::string csv =
        "\xEF\xBB\xBFNumber,Coloured,Text,Notes\r\n"
        "2,Yes,\"Hi, you\",\"spreadsheet, note\"\r\n"
        "3,?,\"two\nlines\",\r\n"
        "\r\n";
    const TableImport imported = ApplyTable(rows, TableFromCsv(csv));
    EXPECT_EQ(imported.changed, 2u);
    EXPECT_EQ(imported.rows[0], rows[0]);
    EXPECT_EQ(imported.rows[1].Text, "Hi, you");
    EXPECT_EQ(imported.rows[1].Coloured, Colour::Yes);
    EXPECT_EQ(imported.rows[2].Text, "two(return)lines");
}

TEST(Exchange, BadFilesAndRowsAreRefusedWithWhereAndWhy) {
    const auto rows = oddRows();
    const std::pair<TableFormat, std::string> files[] = {
        {TableFormat::Po, "msgid \"x\nmsgstr \"\"\n"},
        {TableFormat::Csv, "Number,Text\n1,\"open"},
        {TableFormat::Csv, "Text\nHi\n"},
        {TableFormat::Json, "{\"strings\": 3}"},
        {TableFormat::Json, "{\"strings\": [{\"number\": 1e999}]}"}};  // out of range
    for (const auto& [format, text] : files) {
        EXPECT_THROW(TableFromText(format, text), TableError) << text;
    }
    try {
        TableFromText(TableFormat::Csv, "Number,Text\n1,\"open");
    } catch (const TableError& e) {
        EXPECT_NE(std::string(e.what()).find("line 2, column"), std::string::npos) << e.what();
    }
    const std::string csv =
        "Number,Portrait,Text,Coloured\n"
        "1,Rosaline,Hi,No\n"  // no such portrait
        "2,None,a-b,\n"       // a character the font lacks; "" was loaded so
        "1,None,Hi,Maybe\n"   // row 1 again
        "9,None,Hi,No\n"      // no such row
        "x,None,Hi,No\n"      // no row number
        "3,None,Hi,\n";       // "" was not loaded so
    try {
        ApplyTable(rows, TableFromCsv(csv));
        ADD_FAILURE() << "imported";
    } catch (const TableError& e) {
        const std::string expected =
            "6 rows cannot be taken in:\n"
            "line 2 (row 1): \"Rosaline\" is no portrait; the portraits are \"None\", "
            "\"Rosalind\", \"Ms. Edna\", \"Mr. Thorley\", \"Hilde\", \"Ivy\", \"Greta\", \"?\", "
            "\"Mad Ms. Edna\"\n"
            "line 3 (row 2): character 2: \"-\" is a character the game's font does not have\n"
            "line 4 (row 1): row 1 comes a second time\n"
            "line 5 (row 9): there is no row 9; the ROM image has 3\n"
            "line 6: the number \"x\" is no row number\n"
            "line 7 (row 3): the colour \"\" is none of \"Yes\", \"No\" or \"?\"";
        EXPECT_EQ(e.what(), expected);
    }
    const std::vector<TableRecord> tooMany(513);
    EXPECT_THROW(ApplyTable(rows, tooMany), TableError);
}

}  // namespace
}  // namespace qm
