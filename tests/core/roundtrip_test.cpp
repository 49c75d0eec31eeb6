// Properties over generated rows: what the editor writes, it reads back the same;
// what a user types survives or is refused; a save without edits changes nothing.
#include <gtest/gtest.h>

#include <random>

#include "errors.hpp"
#include "fixtures/rom_builder.hpp"
#include "markup/encoder.hpp"
#include "rom/layout.hpp"
#include "rom/reader.hpp"
#include "rom/string_table.hpp"
#include "save/writer.hpp"

namespace qm {
namespace {

// Random rows. In covered ones no token follows a placeholder or ">" (its code
// would stand out of step and load in byte form); uncovered ones avoid the
// arguments 4 and 5 there, which would pose as portrait or colour settings.
class RowGenerator {
  public:
    RowGenerator(unsigned seed, bool coveredOnly) : random_(seed), coveredOnly_(coveredOnly) {}

    StringEntry row() {
        StringEntry r;
        r.Portrait = std::array<std::int16_t, 8>{-1, 0, 1, 2, 3, 4, 5, 7}[pick(7)];
        r.Coloured = std::array{Colour::Yes, Colour::No, Colour::Unset}[pick(2)];
        bool tokenAllowed = true;
        for (int i = pick(8); i > 0; --i) {
            const std::string piece = choose(kPieces);
            if (piece[0] == '(' && piece != "(return)") {
                if (tokenAllowed) {
                    r.Text += piece + choose(coveredOnly_ ? kArguments : kUnalignedArguments) + ")";
                }
                continue;
            }
            r.Text += piece;
            tokenAllowed = !coveredOnly_ || (piece[0] != '{' && piece != ">");
        }
        return r;
    }

  private:
    std::size_t pick(std::size_t most) {
        return std::uniform_int_distribution<std::size_t>(0, most)(random_);
    }
    std::string choose(const std::vector<std::string>& from) { return from[pick(from.size() - 1)]; }

    inline static const std::vector<std::string> kPieces = {
        "Hello", "moor", "XyZ",      " ",    "!",       "?",           ".",          "..",
        ",",     "'",    "'l",       "'m",   "'r",      "'s",          "'t",         "'v",
        "0",     "7",    "(return)", ">",    "{A}",     "{C}",         "{F}",        "{10}",
        "{3A}",  "{6A}", "{C0}",     "{FE}", "(Pause:", "(TextSpeed:", "(Animation:"};
    inline static const std::vector<std::string> kArguments = {"0",   "1",   "5",   "9",
                                                               "{A}", "{B}", "{E}", "{F}"};
    inline static const std::vector<std::string> kUnalignedArguments = {"0", "1",   "3",
                                                                        "9", "{A}", "{F}"};
    std::mt19937 random_;
    bool coveredOnly_;
};

StringEntry reloaded(const std::string& bytes) {
    const Bytes region = testing::bytesOf(bytes);
    auto slots = IsolateRomStrings(region);
    return UpdateStringtable(slots, region).at(0);
}

TEST(RoundTrip, WhatTheEditorWritesLoadsBackAsWrittenAndEncodesAgainTheSame) {
    for (bool covered : {true, false}) {
        RowGenerator generate(covered ? 20261206 : 4242, covered);
        for (int n = 0; n < 3000; ++n) {
            const StringEntry row = generate.row();
            const std::string bytes = StringtoQM(row.Portrait, row.Coloured, row.Text);
            const StringEntry back = reloaded(bytes);
            ASSERT_EQ(StringtoQM(back.Portrait, back.Coloured, back.Text), bytes) << row.Text;
            if (covered) {
                ASSERT_EQ(std::tie(back.Portrait, back.Coloured, back.Text),
                          std::tie(row.Portrait, row.Coloured, row.Text));
            }
        }
    }
}

TEST(RoundTrip, EveryPrintableCharacterSurvivesOrIsRefused) {
    for (char c = ' '; c <= '~'; ++c) {
        for (const std::string& typed : {std::string(1, c), "a" + std::string(1, c) + "b"}) {
            if (!CheckMarkup(typed).empty()) {
                EXPECT_THROW(StringtoQM(-1, Colour::Unset, typed), EncodeError) << typed;
            } else {
                EXPECT_EQ(reloaded(StringtoQM(3, Colour::Yes, typed)).Text, typed);
            }
        }
    }
}

TEST(RoundTrip, ASaveWithoutEditsGivesBackTheRegionByteForByte) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 30; ++round) {
        Bytes region(kTextRegionLength);
        for (auto& b : region) {
            // Plenty of control bytes and terminators, the interesting part.
            const int r = byte(random);
            b = static_cast<std::uint8_t>(r < 64 ? r % 16 : (r < 72 ? 0xFF : byte(random)));
        }
        auto slots = IsolateRomStrings(region);
        const LaidOutText laidOut = LayOutRows(UpdateStringtable(slots, region));
        Bytes saved = region;
        std::copy(laidOut.text.begin(), laidOut.text.end(), saved.begin());
        EXPECT_EQ(saved, region);
    }
}

}  // namespace
}  // namespace qm
