// File > Open ROM...: the dialog, loading the list and the editor, cancelling,
// and files that give no rows.
#include <QMenu>

#include "status_panels.h"
#include "window_fixture.h"

namespace qm::testing {
namespace {

using OpenRom = WindowTest;

const std::vector<RomRow> kRows = {
    {0, "No", "Hello there(return)friend"}, {3, "Yes", "Hi(Pause:5)!"}, {-1, "No", "Bye"}};

TEST_F(OpenRom, AsksForTheFileThenFillsTheListAndLoadsTheFirstRow) {
    const auto path = openRom(romWithRows(kRows), "GAME.SMC");
    ASSERT_EQ(dialogs->calls().size(), 1u);
    EXPECT_EQ(dialogs->calls()[0].kind, ScriptedDialogs::Kind::Open);
    EXPECT_EQ(dialogs->calls()[0].title, "Select Rom");
    EXPECT_EQ(dialogs->calls()[0].text, "SNES ROM (*.smc);;All Files (*)");
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit - GAME.SMC");
    EXPECT_EQ(window->romPath(), path.string());
    ASSERT_EQ(list()->model()->rowCount(), 3);
    const QStringList second = {cell(1, 0), cell(1, 1), cell(1, 2), cell(1, 3)};
    EXPECT_EQ(second, QStringList({"2", "Hilde", "Hi(Pause:5)!", "Yes"}));
    EXPECT_EQ(cell(2, 1), "None");
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(editBox()->toPlainText(), "Hello there(return)friend");
    EXPECT_EQ(preview()->toPlainText(), "Hello there\nfriend");
    EXPECT_EQ(shownPortraitColour(), portraitTestColour(0));
}

TEST_F(OpenRom, CancellingBeforeALoadChangesNothingAndAfterOneEmptiesTheList) {
    openWithAnswer(std::nullopt);
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit");
    EXPECT_FALSE(list()->isEnabled());
    EXPECT_FALSE(action("mnuSaveRom")->isEnabled());
    openRom(romWithRows(kRows), "first.smc");
    openWithAnswer(std::nullopt);
    EXPECT_EQ(list()->model()->rowCount(), 0);
    EXPECT_TRUE(list()->isEnabled());
    EXPECT_TRUE(action("mnuSaveRom")->isEnabled());
    EXPECT_TRUE(widget<QMenu>("mnuInsert")->menuAction()->isEnabled());
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit - first.smc");
    EXPECT_EQ(dialogs->calls().size(), 3u);  // three Open dialogs, no message
}

TEST_F(OpenRom, ARegionWithoutTerminatorsGivesAnEmptyListButANamedFile) {
    RomBuilder rom;
    rom.regionFiller(0x10);
    openRom(rom, "dump\\blank.smc");  // the caption takes the part after a backslash too
    EXPECT_EQ(list()->model()->rowCount(), 0);
    EXPECT_TRUE(list()->isEnabled());
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit - blank.smc");
    EXPECT_EQ(editBox()->toPlainText(), "Text\n");
}

TEST_F(OpenRom, AFileThatCannotBeReadIsReportedAndChangesNothingElse) {
    openWithAnswer(QString::fromStdString((dir.path() / "missing.smc").string()));
    ASSERT_EQ(dialogs->calls().size(), 2u);
    EXPECT_EQ(dialogs->calls()[1].kind, ScriptedDialogs::Kind::Warning);
    EXPECT_EQ(dialogs->calls()[1].title, "Open ROM");
    EXPECT_FALSE(dialogs->calls()[1].text.isEmpty());
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit");
    EXPECT_FALSE(list()->isEnabled());
    EXPECT_EQ(statusText(), clockText());
}

TEST_F(OpenRom, ShowsProgressThenTheTimeAndStartsNoSecondCommandMeanwhile) {
    const auto first = openRom(romWithRows(kRows), "first.smc");
    const Bytes before = readFile(first);
    QStringList shown;
    recordStatus(shown);
    QObject::connect(window->findChild<StatusPanels*>(), &StatusPanels::textShown, [&] {
        if (shown.size() == 1) {
            action("mnuSaveRom")->trigger();  // would write first.smc
            action("mnuOpenRom")->trigger();  // would ask for a file
        }
    });
    openRom(romWithRows(kRows), "second.smc");
    EXPECT_TRUE(readFile(first) == before);
    EXPECT_EQ(dialogs->calls().size(), 2u);
    ASSERT_GE(shown.size(), 4);
    EXPECT_EQ(shown.mid(0, 2), QStringList({"Reading ROM Pointers", "Reading ROM Strings"}));
    EXPECT_GT(shown.filter("Isolating ROM Strings: ").size(), 1);
    EXPECT_TRUE(shown.last().startsWith("Parsing ROM Strings And Adding to String Table"));
    EXPECT_EQ(statusText(), clockText());
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit - second.smc");
}

}  // namespace
}  // namespace qm::testing
