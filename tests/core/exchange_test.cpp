// The exchange formats. Tables in JSON, CSV and PO: unchanged round trips change
// no byte, translations and spreadsheet edits come in exactly, every kind of bad
// file or row is refused with where and why, and what we write is read by
// gettext's msgfmt and by Python's csv module. The CSV and PO layers alone:
// every quoting rule and entry survives a write and a read, each malformed form
// is refused with its position, and no PO error ends the process.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>
#include <tuple>

#include "demo/demo.hpp"
#include "errors.hpp"
#include "exchange/csv.hpp"
#include "exchange/formats.hpp"
#include "exchange/po_file.hpp"
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

std::string repeated(const std::string& piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

TEST(Exchange, AnUnchangedExportImportsToTheSameBytesInEveryFormat) {
    for (const auto& rows : {LoadRom(BuildDemoImage()), oddRows()}) {
        const LaidOutText before = LayOutRows(rows);
        for (TableFormat format : {TableFormat::Json, TableFormat::Csv, TableFormat::Po}) {
            if (format == TableFormat::Po && !PoFilesSupported()) {
                continue;
            }
            const TableImport imported =
                ApplyTable(rows, TableFromText(format, TableToText(format, rows)));
            EXPECT_EQ(imported.changed, 0u) << int(format);
            EXPECT_TRUE(imported.notes.empty());
            EXPECT_EQ(LayOutRows(imported.rows).text, before.text) << int(format);
        }
    }
}

#ifndef _WIN32  // gettext's and Python's own tools, and a PO file
std::string run(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    for (int c; pipe != nullptr && (c = std::fgetc(pipe)) != EOF;) {
        out += static_cast<char>(c);
    }
    return pipe != nullptr && ::pclose(pipe) == 0 ? out : "(failed) " + out;
}

TEST(Exchange, OthersToolsReadWhatWeWrite) {
    testing::TempDir dir;
    const auto rows = oddRows();
    const auto po = dir.path() / "table.po", csv = dir.path() / "table.csv";
    testing::writeFile(po, bytesOf(TableToPo(rows)));
    EXPECT_EQ(run("msgfmt -c -o /dev/null " + po.string() + " 2>/dev/null"), "");
    testing::writeFile(csv, bytesOf(TableToCsv(rows)));
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
#endif

TEST(Exchange, ATranslatedPoBringsInItsFilledEntriesOnly) {
    if (!PoFilesSupported()) {
        GTEST_SKIP() << "a build without PO files";
    }
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
        {TableFormat::Json, "{\"strings\": [{\"number\": 1e999}]}"},  // out of range
        // More than a table may be, refused before memory is spent on it.
        {TableFormat::Json, std::string(kLargestTableFile + 1, ' ')},
        {TableFormat::Json, "{\"strings\": [" + repeated("0,", 512) + "0]}"},
        {TableFormat::Json, "{\"strings\": " + std::string(101, '[')},
        {TableFormat::Csv, "Number\n" + repeated("1\n", 513)},
        {TableFormat::Po, repeated("msgid \"\"\n", 1026)},
        {TableFormat::Po, std::string(65536, '\n')}};
    for (const auto& [format, text] : files) {
        EXPECT_THROW(TableFromText(format, text), TableError) << text.substr(0, 40);
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
            "line 3 (row 2): character 2: \"-\" is a character the game's font does not have: "
            "give it a code in the character map\n"
            "line 4 (row 1): row 1 comes a second time\n"
            "line 5 (row 9): there is no row 9; the ROM image has 3\n"
            "line 6: the number \"x\" is no row number\n"
            "line 7 (row 3): the colour \"\" is none of \"Yes\", \"No\" or \"?\"";
        EXPECT_EQ(e.what(), expected);
    }
    EXPECT_THROW(ApplyTable(rows, std::vector<TableRecord>(513)), TableError);
    std::vector<TableRecord> changed(25, TableRecord{"", 0, {}, {}, {}, "x", {}});
    for (std::size_t k = 0; k < changed.size(); ++k) {
        changed[k].row = k;
    }
    const auto notes = ApplyTable(LoadRom(BuildDemoImage()), changed).notes;  // never a flood
    EXPECT_EQ(notes.size(), 21u);
    EXPECT_EQ(notes.back(), "... and 5 more");
    std::vector<TableRecord> bad(25, TableRecord{"line 1", std::nullopt, {}, {}, {}, {}, {"bad"}});
    try {
        ApplyTable(rows, bad);
        ADD_FAILURE() << "imported";
    } catch (const TableError& e) {  // 20 listed, then a count
        EXPECT_EQ(std::string(e.what()).substr(std::string(e.what()).size() - 26),
                  "line 1: bad\n... and 5 more");
    }
}

using Fields = std::vector<std::vector<std::string>>;

Fields fieldsOf(const std::vector<CsvRecord>& records) {
    Fields fields;
    for (const auto& r : records) {
        fields.push_back(r.fields);
    }
    return fields;
}

// Every quoting rule, line ends inside fields, empty fields and records, non-ASCII.
const std::vector<CsvRecord> kTricky = {
    {{"id", "text", ""}},
    {{"a,b", "say \"hi\"", "line1\nline2", "cr\rlf\r\nend"}},
    {{" lead", "trail\t", "Grüße, 日本",
      "\xEF\xBB\xBF"
      "bom"}},
    {{""}},
    {{}},
    {{"", "", ""}},
};

TEST(Csv, WriteThenReadGivesSameFields) {
    const std::string text = WriteCsv(kTricky);
    EXPECT_TRUE(text.starts_with("id,text,\r\n"));
    EXPECT_TRUE(
        text.ends_with("\" lead\",\"trail\t\",\"Grüße, 日本\",\"\xEF\xBB\xBF"
                       "bom\"\r\n\"\"\r\n\r\n,,\r\n"));
    const auto back = ReadCsv(text);
    EXPECT_EQ(fieldsOf(back), fieldsOf(kTricky));
    EXPECT_EQ(back[2].line, 5);
    EXPECT_THROW(WriteCsv(std::vector<CsvRecord>{{{"\xC0\x80"}, 0}}), CsvError);
}

TEST(Csv, RefusesMalformedTextWithItsPosition) {
    const struct {
        const char* text;
        int line;
        int column;
        const char* reason;
    } cases[] = {{"a,b\nc,\"open\nmore", 2, 3, "has no closing quote"},
                 {"a,\"b\"x\n", 1, 6, "closing quote followed by"},
                 {"a,b\"c\n", 1, 4, "a quote inside an unquoted field"},
                 {"ok\n\"é\xFF\"", 2, 3, "not valid UTF-8"},
                 {"a\rb", 1, 2, "carriage return without a line feed"}};
    for (const auto& m : cases) {
        try {
            ReadCsv(m.text);
            ADD_FAILURE() << "no CsvError: " << m.reason;
        } catch (const CsvError& e) {
            EXPECT_EQ(e.line(), m.line) << m.reason;
            EXPECT_EQ(e.column(), m.column) << m.reason;
            EXPECT_NE(std::string(e.what()).find(m.reason), std::string::npos) << e.what();
        }
    }
}

// An empty msgid with a context stands for an empty row of the game's table.
const std::vector<PoEntry> kEntries = {
    {"0001", "Hello", "Hallo", false, {"Speaker: Rosalind", "two lines at most"}, {"Original: Hi"}},
    {"0002", "", "", false, {}},
    {"0003", "Grüße \"quoted\"\nline\ttab\\", "日本語", true, {}},
};

auto content(const PoEntry& e) {
    return std::tie(e.context, e.msgid, e.msgstr, e.fuzzy, e.extractedComments,
                    e.translatorComments);
}

std::string lineOf(const std::string& text, int line) {
    std::istringstream in(text);
    std::string s;
    for (int i = 0; i < line; ++i) {
        std::getline(in, s);
    }
    return s;
}

TEST(Po, WriteThenReadGivesSameEntries) {
    if (!PoFilesSupported()) {
        GTEST_SKIP() << "a build without PO files";
    }
    const std::string text = WritePo(kEntries);
    EXPECT_NE(text.find("\"Project-Id-Version: Quillmoor\\n\""), std::string::npos);
    EXPECT_NE(text.find("\"Language: \\n\""), std::string::npos);
    const auto back = ReadPo(text + "\n#~ msgid \"obsolete\"\n#~ msgstr \"x\"\n");
    ASSERT_EQ(back.size(), kEntries.size());
    for (std::size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(content(back[i]), content(kEntries[i]));
        EXPECT_TRUE(lineOf(text, back[i].line).starts_with("msgstr ")) << back[i].line;
    }
    EXPECT_THROW(WritePo(std::vector<PoEntry>{{"", "", "x", false, {}}}), PoError);
    EXPECT_THROW(WritePo(std::vector<PoEntry>{kEntries[0], kEntries[0]}), PoError);
}

const std::string kUtf8Header = "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=";

TEST(Po, RefusesMalformedTextWithItsLine) {
    if (!PoFilesSupported()) {
        GTEST_SKIP() << "a build without PO files";
    }
    const struct {
        std::string text;
        int line;
        const char* reason;
    } cases[] = {// gettext, msgfmt too, gives the line after the one a string runs off.
                 {"msgid \"a\"\nmsgstr \"b\n", 3, "end-of-line within string"},
                 {"msgid \"a\"\nmsgstr \"b\"\n\nmsgid \"a\"\nmsgstr \"c\"\n", 4, "duplicate"},
                 {kUtf8Header + "UTF-8\\n\"\n\nmsgid \"a\xFF\"\nmsgstr \"\"\n", 5, "multibyte"},
                 {kUtf8Header + "ISO-8859-1\\n\"\n", 2, "character set ISO-8859-1"},
                 {"msgid \"a\"\nmsgid_plural \"b\"\nmsgstr[0] \"c\"\n", 3, "plural"},
                 {"msgid \"a\xFF\"\nmsgstr \"b\"\n", 2, "not UTF-8"},
                 // A NUL would cut the text short: raw, or any escape gettext stores as 0.
                 {std::string("msgid \"a\"\n\nmsgstr \"H") + '\0' + "i\"\n", 3, "NUL"},
                 {"msgctxt \"5\\0junk\"\nmsgid \"a\"\nmsgstr \"b\"\n", 1, "NUL"},
                 {"msgid \"a\"\nmsgstr \"Hi\\x100there\"\n", 2, "NUL"},
                 {"#~ msgid \"a\"\n#~ msgstr \"\\400\"\n", 2, "NUL"},
                 {std::string("msgid \"a\"\nmsgstr \"Hi\\") + '\0' + "\"\n", 2, "NUL"}};
    for (const auto& m : cases) {
        try {
            ReadPo(m.text);
            ADD_FAILURE() << "no PoError: " << m.reason;
        } catch (const PoError& e) {
            EXPECT_EQ(e.line(), m.line) << m.reason;
            EXPECT_NE(std::string(e.what()).find(m.reason), std::string::npos) << e.what();
        }
    }
}

// With no descriptor left, libgettextpo cannot open its output and reports a
// fatal error, which its own handler would answer with exit().
TEST(Po, FatalReportBecomesPoError) {
#if defined(__SANITIZE_ADDRESS__) || defined(_WIN32)
    // The sanitizers' runtime probes memory through a pipe; with no descriptor
    // left its type checks misfire, so this case runs in the ordinary build only.
    GTEST_SKIP() << "needs a POSIX build without sanitizers";
#else
    // Whether or not an earlier test made the scratch file, it is made now; then
    // no descriptor is left for libgettextpo's own output stream.
    EXPECT_EQ(ReadPo(WritePo(kEntries)).size(), kEntries.size());
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    const int lowestFree = ::dup(0);
    ::close(lowestFree);
    rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(lowestFree);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    std::string message;
    try {
        WritePo(kEntries);
    } catch (const PoError& e) {
        message = e.what();
    }
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_NE(message.find("cannot create output file"), std::string::npos) << message;
    EXPECT_EQ(ReadPo(WritePo(kEntries)).size(), kEntries.size());  // and works again
#endif
}

}  // namespace
}  // namespace qm
