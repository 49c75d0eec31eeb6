// Layout and pointer rules of the ROM writer, in memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "errors.hpp"
#include "markup/helpers.hpp"
#include "save/writer.hpp"

namespace qm {
namespace {

StringEntry row(std::string text, std::string portrait = "None", std::string coloured = "?") {
    StringEntry r;
    r.Portrait = std::move(portrait);
    r.Text = std::move(text);
    r.Coloured = std::move(coloured);
    return r;
}

std::uint16_t entry(const LaidOutText& t, std::size_t k) {
    return static_cast<std::uint16_t>(t.PointerTable[2 * k] | (t.PointerTable[2 * k + 1] << 8));
}

std::string saveError(const std::vector<StringEntry>& rows) {
    try {
        LayOutRows(rows);
    } catch (const SaveError& e) {
        return e.what();
    }
    return "(no SaveError)";
}

TEST(SaveLayout, EveryRowTwoBytesGivesPointersStepTwo) {
    std::vector<StringEntry> rows(512, row("A"));  // 0x20, 0xFF
    LaidOutText t = LayOutRows(rows);
    ASSERT_EQ(t.text.size(), 1024u);
    for (std::size_t k = 0; k < 512; ++k) {
        EXPECT_EQ(entry(t, k), 0x0400 + 2 * k) << "entry " << k;
        EXPECT_EQ(t.text[2 * k], 0x20);
        EXPECT_EQ(t.text[2 * k + 1], 0xFF);
    }
    EXPECT_EQ(entry(t, 511), 0x07FE);
    std::vector<std::uint8_t> head(t.PointerTable.begin(), t.PointerTable.begin() + 6);
    EXPECT_EQ(head, (std::vector<std::uint8_t>{0x00, 0x04, 0x02, 0x04, 0x04, 0x04}));
}

TEST(SaveLayout, EntryZeroIs0400WhateverTheTableHolds) {
    std::vector<StringEntry> rows = {row("Hello there", "Mad Ms. Edna", "Yes"), row("")};
    LaidOutText t = LayOutRows(rows);
    EXPECT_EQ(t.PointerTable[0], 0x00);
    EXPECT_EQ(t.PointerTable[1], 0x04);
}

TEST(SaveLayout, StringsLieEndToEndInRowOrder) {
    std::vector<StringEntry> rows = {row("Hi", "Mad Ms. Edna", "Yes"), row("", "Rosalind", "No"),
                                     row("")};
    LaidOutText t = LayOutRows(rows);
    EXPECT_EQ(t.text, (Bytes{5, 1, 4, 10, 39, 72, 255, 5, 0, 4, 0, 255, 255}));
    EXPECT_EQ(entry(t, 0), 0x0400);
    EXPECT_EQ(entry(t, 1), 0x0407);
    EXPECT_EQ(entry(t, 2), 0x040C);
}

TEST(SaveLayout, EntriesAreGetHexDigitsOfTheRunningOffset) {
    std::vector<StringEntry> rows;
    for (int i = 0; i < 512; ++i) {
        rows.push_back(row(std::string(static_cast<std::size_t>(i % 50), 'a')));
    }
    LaidOutText t = LayOutRows(rows);
    std::size_t offset = 0;
    for (std::size_t k = 0; k < 512; ++k) {
        std::string hex = GetHex(static_cast<std::int16_t>(0x0400 + offset));
        EXPECT_EQ(t.PointerTable[2 * k], std::stoi(hex.substr(0, 2), nullptr, 16)) << k;
        EXPECT_EQ(t.PointerTable[2 * k + 1], std::stoi(hex.substr(2, 2), nullptr, 16)) << k;
        offset += k % 50 + 1;
    }
    EXPECT_EQ(t.text.size(), offset);
}

TEST(SaveLayout, MissingRowsPointAtTheLastTerminator) {
    std::vector<StringEntry> rows = {row("AB"), row("C")};  // 3 + 2 bytes
    LaidOutText t = LayOutRows(rows);
    ASSERT_EQ(t.text.size(), 5u);
    EXPECT_EQ(entry(t, 0), 0x0400);
    EXPECT_EQ(entry(t, 1), 0x0403);
    for (std::size_t k = 2; k < 512; ++k) {
        EXPECT_EQ(entry(t, k), 0x0404) << k;  // the terminator of "C"
    }
    EXPECT_EQ(t.text[4], 0xFF);
}

TEST(SaveLayout, RowsAfter512AreIgnored) {
    std::vector<StringEntry> rows(512, row("Same"));
    LaidOutText first = LayOutRows(rows);
    for (int i = 0; i < 100; ++i) {
        rows.push_back(row("Extra row " + std::to_string(i), "Hilde", "Yes"));
    }
    rows.push_back(row("(Pause:x)"));  // not even encoded
    LaidOutText more = LayOutRows(rows);
    EXPECT_EQ(more.text, first.text);
    EXPECT_EQ(more.PointerTable, first.PointerTable);
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

TEST(SaveLayout, RowsAreNotChanged) {
    std::vector<StringEntry> rows = {row("{1F}(Pause:{C})..", "Greta", "Maybe"),
                                     row("x", "Nobody", "Yes")};
    rows[0].Number = "1";
    rows[0].PointerValue = "0004";
    auto before = rows;
    LayOutRows(rows);
    EXPECT_EQ(rows, before);
}

TEST(SaveLayout, EmptyTableIsRefused) {
    EXPECT_NE(saveError({}).find("nothing to save"), std::string::npos) << saveError({});
}

TEST(SaveLayout, EncoderRefusalNamesTheRow) {
    std::vector<StringEntry> rows(20, row("fine"));
    rows[16].Text = "(Pause:x)";
    rows[18].Text = "(Pause:y)";  // only the first bad row is named
    EXPECT_EQ(saveError(rows), "Row 17: \"(Pause:x)\" has no number");
}

TEST(SaveLayout, TextThatFillsTheRegionExactlyIsAccepted) {
    // Row 1: 27,583 letters + terminator; 511 empty rows of 1 byte: 28,095 bytes.
    std::vector<StringEntry> rows(512, row(""));
    rows[0].Text = std::string(27583, 'a');
    LaidOutText t = LayOutRows(rows);
    EXPECT_EQ(t.text.size(), kTextRegionLength);
    EXPECT_EQ(entry(t, 511), 0x0400 + kTextRegionLength - 1);  // 0x71BE
    EXPECT_EQ(entry(t, 511), 0x71BE);
}

TEST(SaveLayout, TextTooLongSaysByHowMuch) {
    std::vector<StringEntry> rows(512, row(""));
    rows[0].Text = std::string(27584, 'a');
    EXPECT_NE(saveError(rows).find("1 byte too long"), std::string::npos) << saveError(rows);
    rows[0].Text = std::string(27584 + 99, 'a');
    EXPECT_NE(saveError(rows).find("100 bytes too long"), std::string::npos) << saveError(rows);
}

TEST(SaveLayout, HugeTextIsRefusedNotWrapped) {
    // Far beyond the 16-bit pointer range.
    std::vector<StringEntry> rows(512, row(std::string(1000, 'z')));
    std::string message = saveError(rows);
    EXPECT_NE(message.find(std::to_string(512 * 1001 - 28095) + " bytes too long"),
              std::string::npos)
        << message;
}

TEST(OutString, WritesEachByteAtItsPosition) {
    Bytes image(8, 0xAA);
    OutString(image, std::string("\x05\x01\xFF", 3), 2);
    EXPECT_EQ(image, (Bytes{0xAA, 0xAA, 0x05, 0x01, 0xFF, 0xAA, 0xAA, 0xAA}));
    OutString(image, "", 8);  // nothing, even at the very end
    EXPECT_EQ(image.size(), 8u);
    EXPECT_THROW(OutString(image, "abc", 6), std::out_of_range);
    EXPECT_THROW(OutString(image, "a", 9), std::out_of_range);
}

TEST(ApplyLaidOutText, TouchesOnlyTheTableAndTheNewText) {
    Bytes image(kTextRegionEnd + 16);
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7);
    }
    Bytes before = image;
    LaidOutText t = LayOutRows(std::vector<StringEntry>{row("A")});
    ApplyLaidOutText(image, t);
    for (std::size_t i = 0; i < image.size(); ++i) {
        bool table = i >= kPointerTableOffset && i < kTextRegionOffset;
        bool text = i >= kTextRegionOffset && i < kTextRegionOffset + 2;
        if (!table && !text) {
            ASSERT_EQ(image[i], before[i]) << "offset " << i;
        }
    }
    EXPECT_EQ(image[kTextRegionOffset], 0x20);
    EXPECT_EQ(image[kTextRegionOffset + 1], 0xFF);
    Bytes shortImage(kTextRegionEnd - 1);
    EXPECT_THROW(ApplyLaidOutText(shortImage, t), SaveError);
}

}  // namespace
}  // namespace qm
