#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "exchange/csv.hpp"

namespace qm {
namespace {

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

TEST(Csv, ReadsWhatSpreadsheetsWrite) {
    const auto records =
        ReadCsv("\xEF\xBB\xBFid,text\r\n0001,\"Hi, \"\"you\"\"\r\nthere\"\r\n0002,\n0003,last");
    EXPECT_EQ(
        fieldsOf(records),
        (Fields{{"id", "text"}, {"0001", "Hi, \"you\"\r\nthere"}, {"0002", ""}, {"0003", "last"}}));
    EXPECT_EQ(records[3].line, 5);
}

struct Malformed {
    const char* text;
    int line;
    int column;
    const char* reason;
};

void PrintTo(const Malformed& m, std::ostream* os) {
    *os << m.reason;
}

class CsvMalformed : public ::testing::TestWithParam<Malformed> {};

TEST_P(CsvMalformed, IsRefusedWithItsPosition) {
    const Malformed& m = GetParam();
    try {
        ReadCsv(m.text);
        FAIL() << "no CsvError";
    } catch (const CsvError& e) {
        EXPECT_EQ(e.line(), m.line);
        EXPECT_EQ(e.column(), m.column);
        EXPECT_NE(std::string(e.what()).find(m.reason), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachForm, CsvMalformed,
    ::testing::Values(Malformed{"a,b\nc,\"open\nmore", 2, 3, "has no closing quote"},
                      Malformed{"a,\"b\"x\n", 1, 6, "closing quote followed by"},
                      Malformed{"a,b\"c\n", 1, 4, "a quote inside an unquoted field"},
                      Malformed{"ok\n\"é\xFF\"", 2, 3, "not valid UTF-8"},
                      Malformed{"a\rb", 1, 2, "carriage return without a line feed"}));

}  // namespace
}  // namespace qm
