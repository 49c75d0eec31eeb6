// The PO layer alone, on libgettextpo: entries survive a write and a read, each
// malformed form is refused with its line, and no error ends the process.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <sstream>
#include <tuple>

#include "exchange/po_file.hpp"

namespace qm {
namespace {

// An empty msgid with a context stands for an empty row of the game's table.
const std::vector<PoEntry> kEntries = {
    {"0001", "Hello", "Hallo", false, {"Speaker: Rosalind", "two lines at most"}},
    {"0002", "", "", false, {}},
    {"0003", "Grüße \"quoted\"\nline\ttab\\", "日本語", true, {}},
};

auto content(const PoEntry& e) {
    return std::tie(e.context, e.msgid, e.msgstr, e.fuzzy, e.extractedComments);
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
    const std::string text = WritePo(kEntries);
    EXPECT_NE(text.find("\"Project-Id-Version: Quillmoor\\n\""), std::string::npos);
    EXPECT_NE(text.find("\"Language: \\n\"\n\"MIME-Version: 1.0\\n\"\n\"Content-Type: "
                        "text/plain; charset=UTF-8\\n\""),
              std::string::npos);
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
                 {[] {  // msgfmt gives up after 20 errors and exits; the library must not
                      std::string many = "msgid \"a\"\nmsgstr \"b\"\n";
                      for (int i = 0; i < 3000; ++i) {
                          many += "bogus\n";
                      }
                      return many;
                  }(),
                  3, "(and 3000 more errors)"}};
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
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    const int lowestFree = ::dup(0);
    ::close(lowestFree);
    rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(lowestFree) + 1;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    std::string message;
    try {
        WritePo(kEntries);
    } catch (const PoError& e) {
        message = e.what();
    }
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_NE(message.find("cannot create output file"), std::string::npos) << message;
    EXPECT_EQ(ReadPo(WritePo(kEntries)).size(), kEntries.size());
}

}  // namespace
}  // namespace qm
