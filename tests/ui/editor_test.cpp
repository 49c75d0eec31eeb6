// Selecting rows into the editor, Apply, the check box, the portrait scroll
// bar and the "Add" button.
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "window_fixture.h"

namespace qm::testing {
namespace {

class Editor : public WindowTest {
  protected:
    void SetUp() override {
        openRom(romWithRows({{0, "No", "First(return)row"},
                             {7, "Yes", "Second"},
                             {-1, "No", "Third(Pause:5)"},
                             {6, "No", "Fourth"}}));
    }
};

TEST_F(Editor, DownArrowInTheListLoadsTheRowBelow) {
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Down);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(editBox()->toPlainText(), "Second");
    EXPECT_EQ(portrait()->value(), 7);
    EXPECT_EQ(shownPortraitColour(), portraitTestColour(7));
    EXPECT_TRUE(coloured()->isChecked());
}

TEST_F(Editor, KeyDownAloneStillShowsTheRowSelectedBeforeTheKey) {
    list()->setFocus();
    QTest::keyPress(list(), Qt::Key_Down);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(editBox()->toPlainText(), "First(return)row");
    QTest::keyRelease(list(), Qt::Key_Down);
    EXPECT_EQ(editBox()->toPlainText(), "Second");
}

TEST_F(Editor, ClickingARowLoadsIt) {
    clickRow(2);
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(editBox()->toPlainText(), "Third(Pause:5)");
    EXPECT_EQ(preview()->toPlainText(), "Third");
    EXPECT_EQ(portrait()->value(), -1);
    EXPECT_EQ(shownPortraitColour(), portraitTestColour(-1));
    EXPECT_FALSE(coloured()->isChecked());
}

TEST_F(Editor, ReturnsShowAsTokensInTheEditBoxAndAsLineBreaksInThePreview) {
    EXPECT_EQ(editBox()->toPlainText(), "First(return)row");
    EXPECT_EQ(preview()->toPlainText(), "First\nrow");
}

TEST_F(Editor, ApplyWritesPortraitTextAndColourIntoTheSelectedRow) {
    clickRow(1);
    portrait()->setValue(3);
    editBox()->setPlainText("Hello(Pause:5)");
    coloured()->click();
    QTest::mouseClick(widget<QPushButton>("cmdApply"), Qt::LeftButton);
    EXPECT_EQ(cell(1, 1), "Hilde");
    EXPECT_EQ(cell(1, 2), "Hello(Pause:5)");
    EXPECT_EQ(cell(1, 3), "No");
    EXPECT_EQ(cell(1, 0), "2");
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(cell(0, 2), "First(return)row");
}

TEST_F(Editor, EditsWithoutApplyAreDroppedWhenAnotherRowLoads) {
    portrait()->setValue(3);
    editBox()->setPlainText("changed");
    clickRow(1);
    clickRow(0);
    EXPECT_EQ(cell(0, 1), "Rosalind");
    EXPECT_EQ(editBox()->toPlainText(), "First(return)row");
}

TEST_F(Editor, AnUnknownColourFlagLoadsUncheckedAndAppliesAsNo) {
    // "?" is what the loader shows for a string without a colour code.
    RomBuilder rom;
    rom.addString(bytesOf("\x25\x26"));
    openRom(rom, "plain.smc");
    ASSERT_EQ(cell(0, 3), "?");
    EXPECT_FALSE(coloured()->isChecked());
    widget<QPushButton>("cmdApply")->click();
    EXPECT_EQ(cell(0, 3), "No");
}

TEST_F(Editor, ApplyWithNoRowSelectedDoesNothing) {
    openWithAnswer(std::nullopt);  // empties the list, the frame stays enabled
    ASSERT_TRUE(widget<QPushButton>("cmdApply")->isEnabled());
    widget<QPushButton>("cmdApply")->click();
    EXPECT_EQ(list()->model()->rowCount(), 0);
}

TEST_F(Editor, ApplyRefusesCharactersNoRomTextCanHold) {
    editBox()->setPlainText(QString::fromUtf8("Caf\u00e9 \u20ac"));
    widget<QPushButton>("cmdApply")->click();
    ASSERT_FALSE(dialogs->calls().empty());
    EXPECT_EQ(dialogs->calls().back().kind, ScriptedDialogs::Kind::Warning);
    EXPECT_EQ(dialogs->calls().back().title, "Apply");
    EXPECT_EQ(cell(0, 2), "First(return)row");
}

TEST_F(Editor, TheCheckBoxRecoloursThePreviewAndLeavesTheRow) {
    editBox()->setPlainText("Hello(return)World(return)Hello");
    EXPECT_EQ(previewColours(preview()), "WWWWW\nWWWWW\nRRRRR");
    coloured()->click();
    EXPECT_EQ(previewColours(preview()), "CCCCC\nCCCCC\nRRRRR");
    coloured()->click();
    EXPECT_EQ(previewColours(preview()), "WWWWW\nWWWWW\nRRRRR");
    EXPECT_EQ(cell(0, 3), "No");
}

TEST_F(Editor, TheScrollBarShowsThePortraitOfItsValue) {
    portrait()->setFocus();
    QTest::keyClick(portrait(), Qt::Key_Right);
    EXPECT_EQ(portrait()->value(), 1);
    EXPECT_EQ(shownPortraitColour(), portraitTestColour(1));
    portrait()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(portrait()->value(), 2);
    EXPECT_EQ(cell(0, 1), "Rosalind");
}

TEST_F(Editor, AMissingPortraitShowsNoPictureAndStillLoadsTheRow) {
    std::filesystem::remove(portraitDir / "7.bmp");
    clickRow(1);
    EXPECT_TRUE(picture()->pixmap().isNull());
    EXPECT_EQ(portrait()->value(), 7);
    EXPECT_EQ(editBox()->toPlainText(), "Second");
    EXPECT_TRUE(coloured()->isChecked());
    widget<QPushButton>("cmdApply")->click();
    EXPECT_EQ(cell(0, 2), "First(return)row");
    EXPECT_EQ(cell(1, 2), "Second");
}

TEST_F(Editor, AnUnreadablePortraitShowsNoPictureWhenTheScrollBarMoves) {
    writeFile(portraitDir / "5.bmp", bytesOf("not a bitmap"));
    portrait()->setValue(5);
    EXPECT_TRUE(picture()->pixmap().isNull());
    portrait()->setValue(4);
    EXPECT_EQ(shownPortraitColour(), portraitTestColour(4));
}

TEST_F(Editor, AddPopsUpTheInsertItemsAndEscapeChangesNothing) {
    QTest::mouseClick(widget<QPushButton>("cmdAdd"), Qt::LeftButton);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->objectName(), "mnuInsert");
    QStringList items;
    for (QAction* a : popup->actions()) {
        items << a->text();
    }
    EXPECT_EQ(items, QStringList({"&Pause", "&Text Speed Change", "&Animation Change", "&Return"}));
    QTest::keyClick(popup, Qt::Key_Escape);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(editBox()->toPlainText(), "First(return)row");
}

TEST_F(Editor, MenuShortcutsWinFromTheList) {
    QSignalSpy animation(action("mnuInsertAnimation"), &QAction::triggered);
    QSignalSpy saveAs(action("mnuSaveAs"), &QAction::triggered);
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(animation.count(), 1);
    EXPECT_EQ(list()->selectionModel()->selectedRows().size(), 1);  // not Select All
    QTest::keyClick(list(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(saveAs.count(), 1);
}

TEST_F(Editor, TabMovesThroughTheControlsInOrder) {
    list()->setFocus();
    QStringList order;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(order, QStringList(
                         {"txtText", "hsPortrait", "chkColoured", "cmdApply", "cmdAdd", "lvText"}));
}

}  // namespace
}  // namespace qm::testing
