// Save ROM on real files: what changes, what stays, and every refusal.
#include <gtest/gtest.h>

#include <filesystem>

#include "save/writer.hpp"
#include "save_test_util.hpp"

namespace qm {
namespace {

namespace fs = std::filesystem;
using qm::testing::readFile;
using qm::testing::TempDir;
using namespace qm::savetest;

class SaveRomFile : public ::testing::Test {
  protected:
    TempDir dir;
    fs::path rom = sampleRom().writeTo(dir.path(), "story.smc");
    Bytes original = readFile(rom);
};

TEST_F(SaveRomFile, ShorterTextChangesOnlyTheTableAndItsOwnBytes) {
    SaveRom(rom.string(), std::vector<StringEntry>{row("Hi")});  // 3 bytes where 10 were
    Bytes want = original;
    for (std::size_t k = 0; k < 512; ++k) {
        want[kPointerTableOffset + 2 * k] = k == 0 ? 0x00 : 0x02;
        want[kPointerTableOffset + 2 * k + 1] = 0x04;
    }
    std::copy_n(Bytes{39, 72, 255}.begin(), 3, want.begin() + kTextRegionOffset);
    EXPECT_EQ(readFile(rom), want);  // the old tail behind the new text stays
    EXPECT_EQ(snapshot(dir.path()).size(), 1u);
}

TEST_F(SaveRomFile, NoEditSaveRewritesAllStringsAndTheWholeTable) {
    Bytes spoiled = original;  // a save must rebuild every entry, not keep them
    std::fill(spoiled.begin() + kPointerTableOffset, spoiled.begin() + kTextRegionOffset, 0xAB);
    qm::testing::writeFile(rom, spoiled);
    auto rows = LoadStringTable(rom.string());
    const auto loaded = rows;
    SaveRom(rom.string(), rows);
    EXPECT_EQ(rows, loaded);
    Bytes saved = readFile(rom);
    EXPECT_TRUE(std::equal(saved.begin() + kTextRegionOffset, saved.begin() + kTextRegionEnd,
                           original.begin() + kTextRegionOffset));
    std::span<const std::uint8_t> table(saved.data() + kPointerTableOffset, kPointerTableLength);
    const std::uint16_t expected[] = {0x0400, 0x040A, 0x0412, 0x0413};
    for (std::size_t k = 0; k < 512; ++k) {
        EXPECT_EQ(entryAt(table, k), k < 4 ? expected[k] : 0x041A) << "entry " << k;
    }
}

TEST_F(SaveRomFile, AcceptsAFileEndingExactlyWithTheRegion) {
    fs::path exact = sampleRom().truncateTo(kTextRegionEnd).writeTo(dir.path(), "exact.smc");
    SaveRom(exact.string(), shortRows());
    EXPECT_EQ(readFile(exact)[kTextRegionOffset], 0x20);
    EXPECT_EQ(fs::file_size(exact), kTextRegionEnd);
}

std::vector<StringEntry> withText(std::size_t n, std::size_t k, std::string text) {
    std::vector<StringEntry> rows(n, row(""));
    rows[k].Text = std::move(text);
    return rows;
}

struct Refusal {
    const char* name;
    const char* file;  // in the test's folder; "" for no path at all
    std::vector<StringEntry> rows;
    std::string message;
};

const Refusal kRefusals[] = {
    {"EmptyTable", "story.smc", {}, "nothing to save"},
    {"Unencodable", "story.smc", withText(20, 16, "(Pause:x)"),
     "Row 17: \"(Pause:x)\" has no number"},
    {"OneByteTooLong", "story.smc", withText(512, 0, std::string(27584, 'a')), "1 byte too long"},
    // Far past the 16-bit pointer range: refused, not wrapped.
    {"HugeText", "story.smc", std::vector<StringEntry>(512, row(std::string(1000, 'z'))),
     std::to_string(512 * 1001 - 28095) + " bytes too long"},
    {"MissingFile", "gone.smc", shortRows(), "does not exist"},
    {"DanglingLink", "dangling.smc", shortRows(), "does not exist"},
    {"Folder", "folder.smc", shortRows(), "folder"},
    {"ReadOnly", "readonly.smc", shortRows(), "read-only"},
    {"TooShort", "short.smc", shortRows(), "too short"},
    {"NoPath", "", shortRows(), "no ROM image is open"},
};

class SaveRomRefusal : public SaveRomFile, public ::testing::WithParamInterface<Refusal> {};

TEST_P(SaveRomRefusal, ChangesNoFile) {
    fs::create_symlink("nowhere.smc", dir.path() / "dangling.smc");
    fs::create_directory(dir.path() / "folder.smc");
    fs::copy_file(rom, dir.path() / "readonly.smc");
    fs::permissions(dir.path() / "readonly.smc", fs::perms(0444));
    sampleRom().truncateTo(kTextRegionEnd - 1).writeTo(dir.path(), "short.smc");
    std::string path = *GetParam().file ? (dir.path() / GetParam().file).string() : "";
    Snapshot before = snapshot(dir.path());
    std::string message = saveErrorOf([&] { SaveRom(path, GetParam().rows); });
    EXPECT_NE(message.find(GetParam().message), std::string::npos) << message;
    EXPECT_EQ(snapshot(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(Each, SaveRomRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qm
