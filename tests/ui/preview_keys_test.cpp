// Typing in the edit box: the live preview's text, colours, size and red
// marks; Enter, Delete, Undo and Paste.
#include <QApplication>
#include <QClipboard>
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
    void press(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        QTest::keyClick(editBox(), key, mods);
    }
    QString text() const { return editBox()->toPlainText(); }
};

TEST_F(LivePreview, TypingRebuildsThePreviewWithRedMarksPastTheBox) {
    const struct {
        int row;
        const char* typed;  // replaces the row's text; "\b" is Backspace
        QString shown;
        QString colours;
    } cases[] = {
        {0, "Hi(Pause:5) there", "Hi there", "WWWWWWWW"},
        {0, "1234567890123456789012345", "1234567890123456789012345", "WWWWWWWWWWWWWWWWWWWWRRRRR"},
        {0, "123456789012345678901\b", "12345678901234567890", "WWWWWWWWWWWWWWWWWWWW"},
        {0, "a(return)b(return)c(return)d", "a\nb\nc\nd", "W\nW\nR\nR"},
        {0, "ab(return)cd(return)", "ab\ncd\n", "WW\nWW\n"},
        {1, "Blue(return)x(return)yz", "Blue\nx\nyz", "CCCC\nC\nRR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        clickRow(c.row);
        editBox()->setFocus();
        editBox()->selectAll();
        QTest::keyClicks(editBox(), QString::fromLatin1(c.typed));
        EXPECT_EQ(preview()->toPlainText(), c.shown);
        EXPECT_EQ(previewColours(preview()), c.colours);
    }
}

TEST_F(LivePreview, EnterInsertsAReturnTokenAndDeleteTakesAWholeToken) {
    const struct {
        const char* before;
        int at;
        QKeyCombination key;
        QString after;
        int caretAfter;
    } cases[] = {
        {"Hi(Pause:5)there", 11, Qt::Key_Return, "Hi(Pause:5)(return)there", 19},
        {"Hi(Pause:5)there", 11, Qt::ShiftModifier | Qt::Key_Enter, "Hi(Pause:5)(return)there", 19},
        {"Hi(Pause:5)there", 11, Qt::ControlModifier | Qt::Key_Return, "Hi(Pause:5)(return)there",
         19},
        {"Hi(Pause:5)there", 2, Qt::Key_Delete, "Hithere", 2},
        {"Hi(Pause:5)there", 0, Qt::Key_Delete, "i(Pause:5)there", 0},
        {"ab(cd) x(yz", 8, Qt::Key_Delete, "ab(cd) xyz", 8},  // no ")": just the "("
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key).toString().toStdString() + " in " + c.before);
        editBox()->setPlainText(c.before);
        caretAt(c.at);
        press(c.key.key(), c.key.keyboardModifiers());
        EXPECT_EQ(text(), c.after);
        EXPECT_EQ(caret(), c.caretAfter);
        EXPECT_EQ(editBox()->document()->blockCount(), 1);
    }
}

TEST_F(LivePreview, HeldDeleteAfterATokenRemovesOnlyTokens) {
    editBox()->setPlainText("A(Pause:1)(TextSpeed:2)xyz");
    caretAt(1);
    QTest::keyPress(editBox(), Qt::Key_Delete);
    EXPECT_EQ(text(), "A(TextSpeed:2)xyz");
    // The key repeats while held: a release and a press, both marked auto-repeat.
    for (int i = 0; i < 3; ++i) {
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(editBox(), &up);
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(editBox(), &down);
        EXPECT_EQ(text(), "Axyz");
    }
    EXPECT_EQ(caret(), 1);
    QTest::keyRelease(editBox(), Qt::Key_Delete);
    press(Qt::Key_Delete);
    EXPECT_EQ(text(), "Ayz");
}

TEST_F(LivePreview, TypingIsHeldBackUntilTheEnterKeyGoesUp) {
    QTest::keyPress(editBox(), Qt::Key_Return);
    QTest::keyClick(editBox(), Qt::Key_Z);
    EXPECT_EQ(text(), "(return)Hi(Pause:5)there");
    QTest::keyRelease(editBox(), Qt::Key_Return);
    QTest::keyClick(editBox(), Qt::Key_Z);
    EXPECT_EQ(text(), "(return)zHi(Pause:5)there");
}

TEST_F(LivePreview, CtrlZUndoesEnterAndDeleteLikeTypedEdits) {
    caretAt(2);
    press(Qt::Key_Delete);
    press(Qt::Key_Return);
    for (const QString expected : {"Hithere", "Hi(Pause:5)there"}) {
        press(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(text(), expected);
    }
    EXPECT_EQ(preview()->toPlainText(), "Hithere");
}

TEST_F(LivePreview, PastedLineBreaksBecomeReturnTokens) {
    QApplication::clipboard()->setText(QStringLiteral("one\r\ntwo\nthree"));
    caretAt(2);
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), "Hione(return)two(return)three(Pause:5)there");
    EXPECT_EQ(preview()->toPlainText(), "Hione\ntwo\nthreethere");
}

}  // namespace
}  // namespace qm::testing
