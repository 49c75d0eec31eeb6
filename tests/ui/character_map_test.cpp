// Letters the font lacks, in the window: a map beside the ROM image shows its
// characters everywhere a text is shown or typed, and the dialog edits it.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "character_map_dialog.h"
#include "project/charmap_file.hpp"
#include "rom/load.hpp"
#include "window_fixture.h"

namespace qm::testing {
namespace {

using Kind = ScriptedDialogs::Kind;

class CharacterMapInWindow : public WindowTest {
  protected:
    void SetUp() override {
        writeFile(dir.path() / "game.tbl", bytesOf("# German\n6A=\xC3\x9F\n"));  // 6A=ß
        rom = openRom(romWithRows({{0, "No", "Stra{6A}e"},
                                   {0, "No", std::string(20 * 4, 'x')},
                                   {0, "No", "(Pause:{A})"}}));
    }
    std::filesystem::path rom;
};

TEST_F(CharacterMapInWindow, MappedCharactersShowTypeAndSaveAsTheirCodes) {
    EXPECT_EQ(cell(0, 2), QString::fromUtf8("Stra\u00dfe"));
    EXPECT_EQ(preview()->toPlainText(), QString::fromUtf8("Stra\u00dfe"));
    // 20 mapped characters fit the box's line; the 21st runs over by one.
    for (const int count : {20, 21}) {
        clickRow(1);
        editBox()->setPlainText(QString(count, QChar(0xDF)));
        EXPECT_EQ(previewColours(preview()), QString(20, u'W') + QString(count - 20, u'R'));
    }
    editBox()->setPlainText(QString::fromUtf8("Gr\u0151\u00df"));  // no code stands for ő
    apply();
    ASSERT_EQ(dialogs->callsOf(Kind::Warning).size(), 1u);
    EXPECT_TRUE(dialogs->callsOf(Kind::Warning)[0].text.contains("character map"));
    editBox()->setPlainText(QString::fromUtf8("Gro\u00df"));
    apply();
    EXPECT_EQ(cell(1, 2), QString::fromUtf8("Gro\u00df"));
    QTest::keyClick(editBox(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(LoadRom(rom.string())[1].Text, "Gro{6A}");
    EXPECT_EQ(cell(2, 2), "(Pause:{A})");  // a token's value is no character
}

TEST_F(CharacterMapInWindow, TheDialogsMapIsTakenAndWrittenBesideTheRomImage) {
    CharacterMap map = ReadCharacterMapFile((dir.path() / "game.tbl").string());
    map.assign(0x6A, U'\u00e4');  // 6A is "ä" now
    dialogs->answerCharacterMap(map);
    action("mnuCharacterMap")->trigger();
    EXPECT_EQ(dialogs->callsOf(Kind::CharacterMap).at(0).text, "168");
    EXPECT_EQ(cell(0, 2), QString::fromUtf8("Stra\u00e4e"));
    EXPECT_EQ(editBox()->toPlainText(), QString::fromUtf8("Stra\u00e4e"));
    EXPECT_EQ(readText(dir.path() / "game.tbl"), "# German\n6A=\xC3\xA4\n");
    // The dialog itself refuses what no map can hold, and says why.
    CharacterMapDialog dialog(nullptr, map, FreeCodeUsage({}), QStringLiteral("game.tbl"));
    auto* message = dialog.findChild<QLabel*>(QStringLiteral("lblCharacterMapMessage"));
    const struct {
        std::uint8_t code;
        const char* typed;
        bool taken;
    } cases[] = {{0x6B, "A", false},
                 {0x6B, "\xC3\xA4", false},
                 {0x6B, "ab", false},
                 {0x6B, "\xC3\xBC", true},
                 {0x6B, "", true}};
    for (const auto& c : cases) {
        EXPECT_EQ(dialog.assign(c.code, QString::fromUtf8(c.typed)), c.taken) << c.typed;
        EXPECT_EQ(message->text().isEmpty(), c.taken) << c.typed;
    }
    EXPECT_EQ(dialog.map().characterOf(0x6A), U'\u00e4');
    // Cancel asks before it drops what was assigned: Cancel keeps the dialog, Discard closes it.
    dialog.assign(0x6B, QString::fromUtf8("\u00fc"));
    for (const auto answer : {QMessageBox::Cancel, QMessageBox::Discard}) {
        dialog.show();
        QTimer::singleShot(0, [answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            box->button(answer)->click();
        });
        dialog.reject();
        EXPECT_EQ(dialog.isVisible(), answer == QMessageBox::Cancel);
    }
}

}  // namespace
}  // namespace qm::testing
