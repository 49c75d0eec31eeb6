// Selecting rows into the editor, Apply, the check box, the portrait scroll
// bar, Tab order and menu shortcuts over the controls' own keys.
#include <QApplication>
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
                             {5, "No", "Fourth"}}));
    }
    void expectLoaded(int row, const QString& text, int portraitNumber, bool isColoured) {
        EXPECT_EQ(selectedRow(), row);
        EXPECT_EQ(editBox()->toPlainText(), text);
        EXPECT_EQ(portrait()->value(), portraitNumber);
        EXPECT_EQ(coloured()->isChecked(), isColoured);
    }
};

TEST_F(Editor, ListKeysAndClicksLoadTheirRow) {
    list()->setFocus();
    QTest::keyPress(list(), Qt::Key_Down);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(editBox()->toPlainText(), "First(return)row");  // loads on key up
    QTest::keyRelease(list(), Qt::Key_Down);
    expectLoaded(1, "Second", 7, true);
    EXPECT_EQ(shownPortraitColour(), portraitTestColour(7));
    clickRow(2);
    expectLoaded(2, "Third(Pause:5)", -1, false);
    EXPECT_EQ(preview()->toPlainText(), "Third");
    EXPECT_EQ(shownPortraitColour(), portraitTestColour(-1));
}

TEST_F(Editor, AMissingOrUnreadablePortraitShowsNoPictureAndStillLoadsTheRow) {
    std::filesystem::remove(portraitDir / "7.bmp");
    writeFile(portraitDir / "5.bmp", bytesOf("not a bitmap"));
    clickRow(1);
    expectLoaded(1, "Second", 7, true);
    EXPECT_TRUE(picture()->pixmap().isNull());
    clickRow(3);
    expectLoaded(3, "Fourth", 5, false);
    EXPECT_TRUE(picture()->pixmap().isNull());
}

TEST_F(Editor, ApplyWritesTheEditorIntoTheSelectedRowOnly) {
    portrait()->setValue(3);
    editBox()->setPlainText("dropped");
    clickRow(1);  // edits without Apply are lost
    EXPECT_EQ(cell(0, 1), "Rosalind");
    EXPECT_EQ(cell(0, 2), "First(return)row");
    portrait()->setValue(3);
    editBox()->setPlainText("Hello(Pause:5)");
    coloured()->click();
    apply();
    const QStringList row = {cell(1, 0), cell(1, 1), cell(1, 2), cell(1, 3)};
    EXPECT_EQ(row, QStringList({"2", "Hilde", "Hello(Pause:5)", "No"}));
    EXPECT_EQ(cell(0, 2), "First(return)row");
    EXPECT_EQ(selectedRow(), 1);
}

TEST_F(Editor, ApplyRefusesTextNoRomCanHoldAndDoesNothingWithoutARow) {
    editBox()->setPlainText(QString::fromUtf8("Caf\u00e9 \u20ac"));
    apply();
    ASSERT_EQ(dialogs->calls().size(), 2u);
    EXPECT_EQ(dialogs->calls()[1].kind, ScriptedDialogs::Kind::Warning);
    EXPECT_EQ(dialogs->calls()[1].title, "Apply");
    EXPECT_EQ(cell(0, 2), "First(return)row");
    openWithAnswer(std::nullopt);  // empties the list; Apply stays enabled
    ASSERT_TRUE(widget<QPushButton>("cmdApply")->isEnabled());
    apply();
    EXPECT_EQ(list()->model()->rowCount(), 0);
    EXPECT_EQ(dialogs->calls().size(), 3u);
}

TEST_F(Editor, AnUnknownColourFlagLoadsUncheckedAndAppliesAsNo) {
    RomBuilder rom;
    rom.addString(bytesOf("\x25\x26"));  // no colour code: the list shows "?"
    openRom(rom, "plain.smc");
    ASSERT_EQ(cell(0, 3), "?");
    EXPECT_FALSE(coloured()->isChecked());
    apply();
    EXPECT_EQ(cell(0, 3), "No");
}

TEST_F(Editor, CheckBoxAndScrollBarChangeOnlyTheEditor) {
    editBox()->setPlainText("Hello(return)World(return)Hello");
    for (const QString colours : {"CCCCC\nCCCCC\nRRRRR", "WWWWW\nWWWWW\nRRRRR"}) {
        coloured()->click();
        EXPECT_EQ(previewColours(preview()), colours);
    }
    portrait()->setFocus();
    QTest::keyClick(portrait(), Qt::Key_Right);
    EXPECT_EQ(portrait()->value(), 1);
    EXPECT_EQ(shownPortraitColour(), portraitTestColour(1));
    EXPECT_EQ(cell(0, 1), "Rosalind");
    EXPECT_EQ(cell(0, 3), "No");
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

TEST_F(Editor, CtrlAIsAnimationChangeAndNotSelectAll) {
    QSignalSpy animation(action("mnuInsertAnimation"), &QAction::triggered);
    for (QWidget* w : {static_cast<QWidget*>(list()), static_cast<QWidget*>(editBox())}) {
        SCOPED_TRACE(w->objectName().toStdString());
        animation.clear();
        w->setFocus();
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(animation.count(), 1);
        EXPECT_FALSE(editBox()->textCursor().hasSelection());
        EXPECT_EQ(list()->selectionModel()->selectedRows().size(), 1);
    }
}

}  // namespace
}  // namespace qm::testing
