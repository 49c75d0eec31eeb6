// Typing in the edit box: the live preview's text, colours, size and red marks;
// Enter and Delete; shortcuts and focus.
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

#include "window_fixture.h"

namespace qm::testing {
namespace {

class LivePreview : public WindowTest {
  protected:
    void SetUp() override {
        openRom(romWithRows({{0, "No", "Hi(Pause:5)there"}, {1, "Yes", "Blue"}}));
        caretAt(0);
    }
    void type(const QString& text) { QTest::keyClicks(editBox(), text); }
    void press(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        QTest::keyClick(editBox(), key, mods);
    }
};

TEST_F(LivePreview, TypingRebuildsThePreviewWithTokensHidden) {
    editBox()->selectAll();
    type("Hi(Pause:5) there");
    EXPECT_EQ(preview()->toPlainText(), "Hi there");
    EXPECT_EQ(previewColours(preview()), "WWWWWWWW");
    EXPECT_DOUBLE_EQ(previewPointSize(preview(), 0), 14.0);
    EXPECT_DOUBLE_EQ(previewPointSize(preview(), 7), 14.0);
}

TEST_F(LivePreview, MarksCharacters21OnOfALineInRed) {
    editBox()->selectAll();
    type("1234567890123456789012345");
    EXPECT_EQ(previewColours(preview()), "WWWWWWWWWWWWWWWWWWWWRRRRR");
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    EXPECT_EQ(previewColours(preview()), "WWWWWWWWWWWWWWWWWWWW");
}

TEST_F(LivePreview, MarksLinesThreeOnInRed) {
    editBox()->setPlainText("a(return)b(return)c(return)d");
    EXPECT_EQ(previewColours(preview()), "W\nW\nR\nR");
    editBox()->setPlainText("ab(return)cd(return)");
    EXPECT_EQ(preview()->toPlainText(), "ab\ncd\n");
    EXPECT_EQ(previewColours(preview()), "WW\nWW\n");
}

TEST_F(LivePreview, AColouredEntryKeepsItsColourAndItsRedMarksWhileTyping) {
    clickRow(1);
    caretAt(4);
    type("(return)x(return)yz");
    EXPECT_EQ(preview()->toPlainText(), "Blue\nx\nyz");
    EXPECT_EQ(previewColours(preview()), "CCCC\nC\nRR");
}

TEST_F(LivePreview, EnterInsertsAReturnTokenAndNoLineBreak) {
    caretAt(11);  // between "Hi(Pause:5)" and "there"
    press(Qt::Key_Return);
    EXPECT_EQ(editBox()->toPlainText(), "Hi(Pause:5)(return)there");
    EXPECT_EQ(caret(), 19);
    EXPECT_EQ(preview()->toPlainText(), "Hi\nthere");
    press(Qt::Key_Enter, Qt::ShiftModifier);
    press(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(editBox()->toPlainText(), "Hi(Pause:5)(return)(return)(return)there");
}

TEST_F(LivePreview, EnterReplacesTheSelection) {
    QTextCursor cursor = editBox()->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(2, QTextCursor::KeepAnchor);
    editBox()->setTextCursor(cursor);
    press(Qt::Key_Return);
    EXPECT_EQ(editBox()->toPlainText(), "(return)(Pause:5)there");
}

TEST_F(LivePreview, DeleteInFrontOfATokenRemovesTheWholeToken) {
    caretAt(2);
    press(Qt::Key_Delete);
    EXPECT_EQ(editBox()->toPlainText(), "Hithere");
    EXPECT_EQ(caret(), 2);
    press(Qt::Key_Delete);
    EXPECT_EQ(editBox()->toPlainText(), "Hihere");
}

TEST_F(LivePreview, DeleteElsewhereRemovesOneCharacter) {
    caretAt(0);
    press(Qt::Key_Delete);
    EXPECT_EQ(editBox()->toPlainText(), "i(Pause:5)there");
}

TEST_F(LivePreview, DeleteBeforeAnUnclosedParenthesisRemovesOnlyIt) {
    editBox()->setPlainText("ab(cd) x(yz");
    caretAt(8);
    press(Qt::Key_Delete);
    EXPECT_EQ(editBox()->toPlainText(), "ab(cd) xyz");
    EXPECT_EQ(caret(), 8);
}

TEST_F(LivePreview, HeldDeleteAfterATokenRemovesOnlyTokens) {
    editBox()->setPlainText("A(Pause:1)(TextSpeed:2)xyz");
    caretAt(1);
    QTest::keyPress(editBox(), Qt::Key_Delete);
    EXPECT_EQ(editBox()->toPlainText(), "A(TextSpeed:2)xyz");
    // The key repeats while held: a release and a press, both marked auto-repeat.
    const auto repeat = [this] {
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(editBox(), &up);
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(editBox(), &down);
    };
    repeat();
    EXPECT_EQ(editBox()->toPlainText(), "Axyz");
    repeat();
    repeat();
    EXPECT_EQ(editBox()->toPlainText(), "Axyz");
    EXPECT_EQ(caret(), 1);
    QTest::keyRelease(editBox(), Qt::Key_Delete);
    press(Qt::Key_Delete);
    EXPECT_EQ(editBox()->toPlainText(), "Ayz");
}

TEST_F(LivePreview, TypingIsHeldBackUntilTheEnterKeyGoesUp) {
    caretAt(0);
    QTest::keyPress(editBox(), Qt::Key_Return);
    QTest::keyClick(editBox(), Qt::Key_Z);
    EXPECT_EQ(editBox()->toPlainText(), "(return)Hi(Pause:5)there");
    QTest::keyRelease(editBox(), Qt::Key_Return);
    type("z");
    EXPECT_EQ(editBox()->toPlainText(), "(return)zHi(Pause:5)there");
}

TEST_F(LivePreview, UndoTakesBackEnterAndDeleteLikeTypedEdits) {
    caretAt(2);
    press(Qt::Key_Delete);
    press(Qt::Key_Return);
    EXPECT_EQ(editBox()->toPlainText(), "Hi(return)there");
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editBox()->toPlainText(), "Hithere");
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editBox()->toPlainText(), "Hi(Pause:5)there");
    EXPECT_EQ(preview()->toPlainText(), "Hithere");
}

TEST_F(LivePreview, PastedLineBreaksBecomeReturnTokens) {
    QApplication::clipboard()->setText(QStringLiteral("one\r\ntwo\nthree"));
    caretAt(2);
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editBox()->toPlainText(), "Hione(return)two(return)three(Pause:5)there");
    EXPECT_EQ(caret(), 29);
    EXPECT_EQ(preview()->toPlainText(), "Hione\ntwo\nthreethere");
}

TEST_F(LivePreview, ClickingThePreviewPutsTheFocusInTheEditBox) {
    list()->setFocus();
    QTest::mouseClick(preview()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(QApplication::focusWidget(), editBox());
}

TEST_F(LivePreview, MenuShortcutsWinFromTheEditBox) {
    QSignalSpy animation(action("mnuInsertAnimation"), &QAction::triggered);
    QSignalSpy findNext(action("mnuFindFindNext"), &QAction::triggered);
    QSignalSpy save(action("mnuSaveRom"), &QAction::triggered);
    press(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(animation.count(), 1);
    EXPECT_FALSE(editBox()->textCursor().hasSelection());  // not Select All
    press(Qt::Key_F3);
    EXPECT_EQ(findNext.count(), 1);
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(save.count(), 1);
}

}  // namespace
}  // namespace qm::testing
