// Layout and pointer rules of the ROM writer, in memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "save/writer.hpp"
#include "save_test_util.hpp"

namespace qm {
namespace {

using namespace qm::savetest;

TEST(SaveLayout, EveryRowTwoBytesGivesPointersStepTwo) {
    LaidOutText t = LayOutRows(shortRows());
    ASSERT_EQ(t.text.size(), 1024u);
    for (std::size_t k = 0; k < 512; ++k) {
        EXPECT_EQ(entryAt(t.PointerTable, k), 0x0400 + 2 * k) << "entry " << k;
        EXPECT_EQ(t.text[2 * k], 0x20);
        EXPECT_EQ(t.text[2 * k + 1], 0xFF);
    }
    Bytes head(t.PointerTable.begin(), t.PointerTable.begin() + 6);
    EXPECT_EQ(head, (Bytes{0x00, 0x04, 0x02, 0x04, 0x04, 0x04}));
}

TEST(SaveLayout, StringsLieEndToEndAndMissingRowsPointAtTheLastTerminator) {
    LaidOutText t = LayOutRows(std::vector<StringEntry>{row("Hi", "Mad Ms. Edna", "Yes"),
                                                        row("", "Rosalind", "No"), row("")});
    EXPECT_EQ(t.text, (Bytes{5, 1, 4, 10, 39, 72, 255, 5, 0, 4, 0, 255, 255}));
    EXPECT_EQ(entryAt(t.PointerTable, 1), 0x0407);
    for (std::size_t k = 2; k < 512; ++k) {
        EXPECT_EQ(entryAt(t.PointerTable, k), 0x040C) << k;
    }
}

TEST(SaveLayout, RowsAfter512LeaveNoTrace) {
    std::vector<StringEntry> rows(512, row("Same"));
    LaidOutText first = LayOutRows(rows);
    rows.push_back(row("A longer row that must never be written", "Hilde", "Yes"));
    rows.push_back(row("(Pause:x)"));  // would be refused if it were encoded
    LaidOutText more = LayOutRows(rows);
    EXPECT_EQ(more.text, first.text);
    EXPECT_EQ(more.PointerTable, first.PointerTable);
}

TEST(SaveLayout, TextThatFillsTheRegionExactlyIsAccepted) {
    // 27,583 letters + terminator, then 511 one-byte rows: 28,095 bytes.
    std::vector<StringEntry> rows(512, row(""));
    rows[0].Text = std::string(27583, 'a');
    LaidOutText t = LayOutRows(rows);
    EXPECT_EQ(t.text.size(), kTextRegionLength);
    EXPECT_EQ(entryAt(t.PointerTable, 511), 0x71BE);
}

TEST(SaveLayout, ProgressTexts) {
    std::vector<std::string> seen;
    LayOutRows(std::vector<StringEntry>{row("A")},
               [&](std::string_view s) { seen.emplace_back(s); });
    ASSERT_EQ(seen.size(), 512u);
    EXPECT_EQ(seen[0], "Saving ROM: 0%");
    EXPECT_EQ(seen[1], "Saving ROM: 0.1%");
    EXPECT_EQ(seen[52], "Saving ROM: 10.%");
    EXPECT_EQ(seen[511], "Saving ROM: 100%");
}

}  // namespace
}  // namespace qm
