// The CSV layer alone: every quoting rule survives a write and a read, and each
// malformed form is refused with its position. Tables in CSV: exchange_test.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qm
