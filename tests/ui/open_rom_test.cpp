// File > Open ROM...: the dialog, loading the list and the editor, cancelling,
// and a file that cannot be read.
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QTimer>

#include "status_panels.h"
#include "window_fixture.h"

namespace qm::testing {
namespace {

using OpenRom = WindowTest;

const std::vector<RowSpec> kRows = {
    {0, "No", "Hello there(return)friend"},
    {3, "Yes", "Hi(Pause:5)!"},
    {-1, "No", "Bye"},
};

void expectEditingEnabled(const QWidget* window, const QStringList& names) {
    for (const QString& name : names) {
        QWidget* w = window->findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->isEnabled()) << name.toStdString();
    }
}

TEST_F(OpenRom, AsksWithTitleAndFilterAndFillsTheList) {
    const auto path = openRom(romWithRows(kRows), "GAME.SMC");
    ASSERT_EQ(dialogs->calls().size(), 1u);
    EXPECT_EQ(dialogs->calls()[0].kind, ScriptedDialogs::Kind::Open);
    EXPECT_EQ(dialogs->calls()[0].title, "Select Rom");
    EXPECT_EQ(dialogs->calls()[0].text, "SNES ROM (*.smc);;All Files (*)");
    ASSERT_EQ(list()->model()->rowCount(), 3);
    EXPECT_EQ(cell(0, 0), "1");
    EXPECT_EQ(cell(1, 1), "Hilde");
    EXPECT_EQ(cell(1, 2), "Hi(Pause:5)!");
    EXPECT_EQ(cell(1, 3), "Yes");
    EXPECT_EQ(cell(2, 1), "None");
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit - GAME.SMC");
    EXPECT_EQ(window->romPath(), path.string());
}

TEST_F(OpenRom, EnablesEditingAndLoadsTheFirstRow) {
    openRom(romWithRows(kRows));
    expectEditingEnabled(window.get(), {"lvText", "fraText", "txtText2", "txtText", "cmdApply"});
    EXPECT_TRUE(widget<QMenu>("mnuFind")->menuAction()->isEnabled());
    EXPECT_TRUE(widget<QMenu>("mnuInsert")->menuAction()->isEnabled());
    EXPECT_TRUE(action("mnuSaveRom")->isEnabled());
    EXPECT_TRUE(action("mnuSaveAs")->isEnabled());
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(editBox()->toPlainText(), "Hello there(return)friend");
    EXPECT_EQ(preview()->toPlainText(), "Hello there\nfriend");
    EXPECT_EQ(portrait()->value(), 0);
    EXPECT_EQ(shownPortraitColour(), portraitTestColour(0));
    // Back to the time of day once the load is done.
    EXPECT_EQ(statusText(), QLocale().toString(QTime(9, 41), QLocale::ShortFormat));
}

TEST_F(OpenRom, CancellingFirstChangesNothing) {
    openWithAnswer(std::nullopt);
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit");
    EXPECT_FALSE(list()->isEnabled());
    EXPECT_FALSE(action("mnuSaveRom")->isEnabled());
    EXPECT_EQ(dialogs->calls().size(), 1u);  // the dialog, and no message
}

TEST_F(OpenRom, CancellingAfterALoadEmptiesTheListAndKeepsTheRest) {
    openRom(romWithRows(kRows), "first.smc");
    openWithAnswer(std::nullopt);
    EXPECT_EQ(list()->model()->rowCount(), 0);
    EXPECT_TRUE(action("mnuSaveRom")->isEnabled());
    EXPECT_TRUE(list()->isEnabled());
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit - first.smc");
    EXPECT_EQ(dialogs->calls().size(), 2u);
}

TEST_F(OpenRom, AFileThatCannotBeReadIsReportedAndChangesNothingElse) {
    openWithAnswer(QString::fromStdString((dir.path() / "missing.smc").string()));
    ASSERT_EQ(dialogs->calls().size(), 2u);
    EXPECT_EQ(dialogs->calls()[1].kind, ScriptedDialogs::Kind::Warning);
    EXPECT_EQ(dialogs->calls()[1].title, "Open ROM");
    EXPECT_FALSE(dialogs->calls()[1].text.isEmpty());
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit");
    EXPECT_FALSE(list()->isEnabled());
    EXPECT_EQ(statusText(), QLocale().toString(QTime(9, 41), QLocale::ShortFormat));
}

TEST_F(OpenRom, ARegionWithoutTerminatorsGivesAnEmptyListButANamedFile) {
    RomBuilder rom;
    rom.regionFiller(0x10);
    openRom(rom, "blank.smc");
    EXPECT_EQ(list()->model()->rowCount(), 0);
    EXPECT_TRUE(list()->isEnabled());
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit - blank.smc");
    EXPECT_EQ(editBox()->toPlainText(), "Text\n");  // no row to load
}

TEST_F(OpenRom, CaptionTakesThePartAfterTheLastBackslashToo) {
    openRom(romWithRows(kRows), "dump\\story.smc");
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit - story.smc");
}

TEST_F(OpenRom, ShowsProgressAndStartsNoSecondCommandMeanwhile) {
    const auto first = openRom(romWithRows(kRows), "first.smc");
    const Bytes before = readFile(first);
    auto* status = window->findChild<StatusPanels*>();
    ASSERT_NE(status, nullptr);
    QStringList shown;
    QObject::connect(status, &StatusPanels::textShown, [&](const QString& text) {
        if (shown.isEmpty()) {
            action("mnuSaveRom")->trigger();  // would write first.smc
            action("mnuOpenRom")->trigger();  // would ask for a file
        }
        shown << text;
    });
    openRom(romWithRows(kRows), "second.smc");
    EXPECT_EQ(readFile(first), before);
    EXPECT_EQ(dialogs->calls().size(), 2u);
    ASSERT_GE(shown.size(), 4);
    EXPECT_EQ(shown[0], "Reading ROM Pointers");
    EXPECT_EQ(shown[1], "Reading ROM Strings");
    EXPECT_TRUE(shown.filter("Isolating ROM Strings: ").size() > 1);
    EXPECT_TRUE(shown.last().startsWith("Parsing ROM Strings And Adding to String Table"));
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit - second.smc");
}

TEST_F(OpenRom, TheRealDialogCarriesTitleAndFilters) {
    frmMain real;  // the Qt dialogs
    real.show();
    QString title;
    QStringList filters;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr) {
            seen = true;
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            dialog->reject();
        }
    });
    real.findChild<QAction*>("mnuOpenRom")->trigger();
    ASSERT_TRUE(seen);
    EXPECT_EQ(title, "Select Rom");
    EXPECT_EQ(filters, QStringList({"SNES ROM (*.smc)", "All Files (*)"}));
    EXPECT_EQ(real.windowTitle(), "Quillmoor Text Edit");
}

}  // namespace
}  // namespace qm::testing
