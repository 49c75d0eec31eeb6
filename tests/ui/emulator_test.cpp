// Getting the table into the game: F5 writes a scratch copy with its checksum
// fixed and starts a stand-in emulator that records what it was given; Fix
// Header Checksum on Save writes the checksum pair only when it is on.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include "app_settings.h"
#include "checksum_panel.h"
#include "emulator_dialog.h"
#include "rom/internal_header.hpp"
#include "rom/load.hpp"
#include "text.hpp"
#include "window_fixture.h"

namespace qm::testing {
namespace {

namespace fs = std::filesystem;
using Kind = ScriptedDialogs::Kind;

class Emulator : public WindowTest {
  protected:
    void SetUp() override { qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(utf8(cache))); }
    void TearDown() override { qunsetenv("XDG_CACHE_HOME"); }

    // Two rows in an image with a HiROM header whose checksum is wrong.
    fs::path openWithHeader() {
        Bytes image = romWithRows({{0, "No", "Hello"}, {1, "Yes", "World"}}).build();
        std::copy_n("QUILLMOOR TEST       \x21", 22, image.begin() + kHiRomHeaderOffset);
        PutLittleEndian16(image, kHiRomHeaderOffset + kHeaderComplement, 0x1234 ^ 0xFFFF);
        PutLittleEndian16(image, kHiRomHeaderOffset + kHeaderChecksum, 0x1234);
        writeFile(dir.path() / "game.smc", image);
        openWithAnswer(QString::fromStdString(utf8(dir.path() / "game.smc")));
        return dir.path() / "game.smc";
    }
    // A stand-in emulator: it copies the file it was given and lists its arguments.
    QString standIn() const {
        const fs::path script = dir.path() / "emulator.sh";
        const std::string body =
            "#!/bin/sh\ncd \"$(dirname \"$0\")\"\ncp \"${1#--rom=}\" seen.tmp && "
            "printf '%s\\n' \"$@\" > args.tmp && mv seen.tmp seen.smc && mv args.tmp args.txt\n";
        writeFile(script, Bytes(body.begin(), body.end()));
        fs::permissions(script, fs::perms::owner_all);
        return QString::fromStdString(utf8(script));
    }
    AppSettings settings() const {
        return AppSettings(QString::fromStdString(utf8(dir.path() / "settings.ini")));
    }
    static QString scratch() {
        return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
               QStringLiteral("/emulator/game.smc");
    }
    /// The checksum panel, once it has looked at the file (after the window
    /// has shown it).
    QLabel* checksumPanel() const {
        auto* panel = widget<ChecksumPanel>("sbChecksum");
        panel->waitForAnswer();
        return panel;
    }

    fs::path cache = dir.path() / "cache";
};

TEST_F(Emulator, F5AsksForACommandThenStartsItOnAFixedCopyOfTheTableAsItStands) {
    const fs::path rom = openWithHeader();
    const Bytes loaded = readFile(rom);
    EXPECT_TRUE(checksumPanel()->isVisible());
    EXPECT_EQ(checksumPanel()->toolTip(),
              QString::fromStdString(ChecksumText(*CheckHeaderChecksum(loaded))));
    editBox()->setPlainText("Bonjour");  // not applied: F5 takes it along
    const EmulatorCommand command{standIn(), QStringLiteral("--rom=%f --fullscreen")};
    dialogs->answerEmulator(command);
    QTest::keyClick(editBox(), Qt::Key_F5);
    for (int tries = 0; tries < 200 && !fs::exists(dir.path() / "args.txt"); ++tries) {
        QTest::qWait(50);  // the emulator runs on its own
    }
    EXPECT_TRUE(scratch().startsWith(QString::fromStdString(utf8(cache))));
    ASSERT_EQ(readText(dir.path() / "args.txt"),
              "--rom=" + scratch().toStdString() + "\n--fullscreen\n");
    const Bytes seen = readFile(dir.path() / "seen.smc");
    EXPECT_TRUE(CheckHeaderChecksum(seen)->right());
    EXPECT_EQ(LoadRom(seen).at(0).Text, "Bonjour");
    EXPECT_TRUE(readFile(rom) == loaded);
    EXPECT_EQ(statusText(), "Started emulator.sh with game.smc (a test copy in " +
                                QFileInfo(scratch()).absolutePath() + ")");
    EXPECT_TRUE(dialogs->callsOf(Kind::Warning).empty());
    EXPECT_EQ(settings().emulatorCommand(), command);
}

TEST_F(Emulator, ARefusedRowLandsOnTheRowAndACommandThatCannotStartSaysSo) {
    openWithHeader();
    dialogs->answerEmulator(EmulatorCommand{QStringLiteral("/no/such/emulator"), {}});
    clickRow(1);
    editBox()->setPlainText("Half-way");
    action("mnuTestInEmulator")->trigger();
    ASSERT_EQ(dialogs->callsOf(Kind::Warning).size(), 1u);
    EXPECT_EQ(dialogs->callsOf(Kind::Warning)[0].title, "Test in Emulator");
    EXPECT_TRUE(dialogs->callsOf(Kind::Warning)[0].text.startsWith("Row 2, character 5: "));
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(caret(), 4);
    EXPECT_FALSE(QFileInfo::exists(scratch()));  // nothing written, nothing started
    editBox()->setPlainText("Halfway");
    action("mnuTestInEmulator")->trigger();
    ASSERT_EQ(dialogs->callsOf(Kind::Warning).size(), 2u);
    EXPECT_TRUE(dialogs->callsOf(Kind::Warning)[1].text.startsWith(
        "\"/no/such/emulator\" could not be started: there is no program there that can be run."));
    EXPECT_EQ(dialogs->callsOf(Kind::Emulator).size(), 1u);  // asked once, then remembered
}

TEST_F(Emulator, FixOnSaveWritesTheChecksumPairOnlyWhenOnAndIsRemembered) {
    const fs::path rom = openWithHeader();
    const auto pair = [&] {
        const Bytes file = readFile(rom);
        return Bytes(file.begin() + kHiRomHeaderOffset + kHeaderComplement,
                     file.begin() + kHiRomHeaderOffset + kHeaderLength);
    };
    const Bytes stored = pair();
    EXPECT_FALSE(action("mnuFixChecksum")->isChecked());
    editBox()->setPlainText("Changed");
    action("mnuSaveRom")->trigger();
    EXPECT_TRUE(pair() == stored);
    EXPECT_TRUE(checksumPanel()->isVisible());
    action("mnuFixChecksum")->trigger();
    const Bytes before = readFile(rom);
    action("mnuSaveRom")->trigger();
    Bytes after = readFile(rom);
    EXPECT_TRUE(ReadHeaderChecksum(utf8(rom))->right());
    EXPECT_FALSE(checksumPanel()->isVisible());
    std::copy(stored.begin(), stored.end(), after.begin() + kHiRomHeaderOffset + kHeaderComplement);
    EXPECT_TRUE(after == before);  // the pair was all that changed
    EXPECT_TRUE(settings().fixChecksumOnSave());
}

TEST(EmulatorCommand, ArgumentsTakeTheFileForEachMarkOrLastAndFoundEmulatorsFillTheDialog) {
    const QString file = QStringLiteral("/tmp/a b/game.smc");
    const std::pair<const char*, QStringList> cases[] = {
        {"%f", {file}},
        {"--fullscreen", {"--fullscreen", file}},
        {"-L \"/usr/lib/x y/snes9x_libretro.so\" %f",
         {"-L", "/usr/lib/x y/snes9x_libretro.so", file}},
        {"--rom=%f --mode=%f", {"--rom=" + file, "--mode=" + file}},
    };
    for (const auto& [arguments, expected] : cases) {
        EXPECT_EQ(EmulatorArguments(QString::fromLatin1(arguments), file), expected) << arguments;
    }
    TempDir bin;
    for (const char* name : {"retroarch", "mednafen", "snes9x"}) {
        writeFile(bin.path() / name, {});
        fs::permissions(bin.path() / name,
                        name[0] == 's' ? fs::perms::owner_read : fs::perms::owner_all);
    }
    const QList<FoundEmulator> found = FindEmulators({QString::fromStdString(utf8(bin.path()))});
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0].name, "mednafen");
    EXPECT_EQ(found[1].name, "retroarch");
    EmulatorDialog dialog({}, found);
    auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    EXPECT_FALSE(ok->isEnabled());  // no program yet
    emit dialog.findChild<QComboBox*>("cboFoundEmulators")->activated(1);
    EXPECT_EQ(dialog.command(), (EmulatorCommand{"mednafen", "%f"}));
    EXPECT_TRUE(ok->isEnabled());
}

}  // namespace
}  // namespace qm::testing
