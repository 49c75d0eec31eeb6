// quillmoor-script export and demo, run as a user runs them.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "fixtures/rom_builder.hpp"
#include "script_runner.hpp"

namespace qm {
namespace {

using testing::bytesOf;
using testing::RomBuilder;
using testing::runScript;

class ExportVerb : public ::testing::Test {
  protected:
    testing::TempDir dir;

    nlohmann::json exportOf(const RomBuilder& builder) {
        const auto rom = builder.writeTo(dir.path(), "game.smc");
        const auto r = runScript({"export", rom.string()}, dir.path());
        EXPECT_EQ(r.status, 0) << r.err;
        return nlohmann::json::parse(r.out);
    }
};

TEST_F(ExportVerb, DemoImageHas512RowsInTheExportFormat) {
    const auto rom = dir.path() / "demo.smc";
    ASSERT_EQ(runScript({"demo", rom.string()}, dir.path()).status, 0);
    const auto out = dir.path() / "table.json";
    const auto r = runScript({"export", rom.string(), "-o", out.string()}, dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    const auto doc = nlohmann::json::parse(testing::slurpFile(out));
    const auto& strings = doc.at("strings");
    ASSERT_EQ(strings.size(), kStringCount);
    EXPECT_EQ(strings[0].at("number"), 1);
    EXPECT_EQ(strings[0].at("pointer"), "0004");
    EXPECT_EQ(strings[0].at("portrait"), "Rosalind");
    EXPECT_EQ(strings[0].at("text"), "Good morning!(return)The tide's out.");
    EXPECT_EQ(strings[511].at("number"), 512);
    std::set<std::string> portraits;
    for (const auto& s : strings) {
        portraits.insert(s.at("portrait").get<std::string>());
    }
    EXPECT_EQ(portraits.size(), 9u);  // every portrait entry, "?" included
}

TEST_F(ExportVerb, RegionShapes) {
    EXPECT_TRUE(exportOf(RomBuilder().addRaw(Bytes(100, 0x20))).at("strings").empty());

    const auto few =
        exportOf(RomBuilder().addString(bytesOf("\x05\x01\x04\x03\x27\x48")).addString({}));
    ASSERT_EQ(few.at("strings").size(), 2u);
    EXPECT_EQ(few["strings"][0],
              nlohmann::json::parse(R"({"number": 1, "portrait": "Hilde", "text": "Hi",
                                        "coloured": "Yes", "pointer": "0004"})"));
    EXPECT_EQ(few["strings"][1].at("pointer"), "0704");

    RomBuilder many;
    for (int i = 0; i < 600; ++i) {
        many.addString(bytesOf("\x20"));
    }
    const auto capped = exportOf(many);
    ASSERT_EQ(capped.at("strings").size(), kStringCount);
    EXPECT_EQ(capped["strings"][511].at("pointer"), "FE07");
}

TEST_F(ExportVerb, ShortFileReadsMissingBytesAsZero) {
    // The file ends inside the second string: it has no terminator left.
    const auto doc = exportOf(RomBuilder()
                                  .addString(bytesOf("\x27\x48"))
                                  .addString(bytesOf("\x20\x21\x22"))
                                  .truncateTo(kTextRegionOffset + 5));
    ASSERT_EQ(doc.at("strings").size(), 1u);
    EXPECT_EQ(doc["strings"][0].at("text"), "Hi");
}

TEST_F(ExportVerb, BytesAboveAsciiBecomeTheirOwnCharacters) {
    // 0x8E is no symbol: it shows as a placeholder, and "?" shows as "?".
    const auto doc = exportOf(RomBuilder().addString(bytesOf("\x8E\x73")));
    EXPECT_EQ(doc["strings"][0].at("text"), "{8E}?");
}

TEST_F(ExportVerb, FailuresAndUsage) {
    auto r = runScript({"export", (dir.path() / "missing.smc").string()}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Cannot open"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(runScript({"export", dir.path().string()}, dir.path()).status, 1);
    EXPECT_EQ(runScript({"export"}, dir.path()).status, 2);
    EXPECT_EQ(runScript({"frobnicate"}, dir.path()).status, 2);
    EXPECT_EQ(runScript({}, dir.path()).status, 2);
    r = runScript({"demo", (dir.path() / "no" / "such" / "folder.smc").string()}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Cannot write"), std::string::npos);
}

}  // namespace
}  // namespace qm
