// quillmoor-script checksum run as a user runs it: a wrong checksum exits 1 and
// is a warning of check, --fix changes exactly the four bytes of the pair, and an
// image without an internal header is refused and left alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "fixtures/rom_builder.hpp"
#include "rom/internal_header.hpp"
#include "script_runner.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;

TEST(ChecksumCommand, WrongExits1FixWritesFourBytesNoHeaderIsRefused) {
    testing::TempDir dir;
    const std::string rom = (dir.path() / "story.smc").string();
    const auto run = [&](const std::vector<std::string>& args) {
        return testing::runScript(args, dir.path());
    };
    ASSERT_EQ(run({"demo", rom}).status, 0);
    Bytes wrong = testing::readFile(rom);
    wrong[kHiRomHeaderOffset + 40] ^= 0x10;  // a byte of the ROM, not of the header
    testing::writeFile(rom, wrong);
    const auto found = run({"checksum", rom});
    EXPECT_EQ(found.status, 1);
    EXPECT_EQ(found.out, ChecksumText(*CheckHeaderChecksum(wrong)) + "\n");
    EXPECT_TRUE(found.out.ends_with(": wrong\n"));
    const auto checked = run({"check", rom, "--format", "json"});
    EXPECT_EQ(nlohmann::json::parse(checked.out)["warnings"][0]["message"],
              found.out.substr(0, 37));
    EXPECT_EQ(checked.status, 1);

    const auto fixed = run({"checksum", rom, "--fix"});
    EXPECT_EQ(fixed.status, 0) << fixed.err;
    EXPECT_EQ(fixed.out, found.out + "Wrote the checksum into the HiROM header of " + rom + "\n");
    const Bytes after = testing::readFile(rom);
    ASSERT_EQ(after.size(), wrong.size());
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (after[i] != wrong[i]) {
            changed.push_back(i);
        }
    }
    EXPECT_LE(changed.size(), 4u);
    EXPECT_TRUE(changed.front() >= 0xFFDC && changed.back() <= 0xFFDF);
    const auto right = run({"checksum", rom});
    EXPECT_EQ(right.status, 0) << right.err;
    EXPECT_EQ(right.out, ChecksumText(*CheckHeaderChecksum(after)) + "\n");
    EXPECT_TRUE(right.out.ends_with(": right\n"));

    const std::string plain = testing::RomBuilder().writeTo(dir.path(), "plain.smc").string();
    const auto before = testing::snapshot(dir.path());
    const auto refused = run({"checksum", plain, "--fix"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("plain.smc\" has no SNES internal header"), std::string::npos)
        << refused.err;
    EXPECT_EQ(testing::snapshot(dir.path()), before);
}

}  // namespace
}  // namespace qm
