// Editing an entry as a user does: typing and the live preview, Enter, Delete,
// undo and paste, the marks under what the game cannot take, the Insert
// commands and Find.
#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <set>

#include "window_fixture.h"

namespace qm::testing {
namespace {

using Kind = ScriptedDialogs::Kind;

class Editing : public WindowTest {
  protected:
    void SetUp() override {
        openRom(romWithRows({{0, "No", "Hi(Pause:5)there"},
                             {1, "Yes", "Blue"},
                             {0, "No", "Hello(return)world"},
                             {0, "No", "the MOOR again"},
                             {0, "No", "last moor"}}));
        caretAt(0);
        dialogs->clearCalls();
    }
    void press(QKeyCombination key) {
        QTest::keyClick(editBox(), key.key(), key.keyboardModifiers());
    }
    QString text() const { return editBox()->toPlainText(); }
};

TEST_F(Editing, TypingRebuildsThePreviewWithRedMarksPastTheBox) {
    const struct {
        int row;
        const char* typed;  // replaces the row's text; "\b" is Backspace
        QString shown;
        QString colours;
    } cases[] = {
        {0, "1234567890123456789012345", "1234567890123456789012345", "WWWWWWWWWWWWWWWWWWWWRRRRR"},
        {0, "123456789012345678901\b", "12345678901234567890", "WWWWWWWWWWWWWWWWWWWW"},
        {0, "a(return)b(return)c(return)d", "a\nb\nc\nd", "W\nW\nR\nR"},
        {1, "Blue(return)x(return)yz", "Blue\nx\nyz", "CCCC\nC\nRR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        dialogs->answerApplyChanges(Dialogs::ApplyChangesAnswer::Discard);
        clickRow(c.row);
        editBox()->setFocus();
        editBox()->selectAll();
        QTest::keyClicks(editBox(), QString::fromLatin1(c.typed));
        EXPECT_EQ(preview()->toPlainText(), c.shown);
        EXPECT_EQ(previewColours(preview()), c.colours);
    }
}

TEST_F(Editing, EnterInsertsAReturnTokenAndDeleteOrBackspaceTakesAWholeToken) {
    const struct {
        const char* before;
        int from;
        int to;  // the selection's end
        QKeyCombination key;
        QString after;
        int caretAfter;
    } cases[] = {
        {"Hi(Pause:5)there", 11, 11, Qt::Key_Return, "Hi(Pause:5)(return)there", 19},
        {"Hi(Pause:5)there", 11, 11, Qt::ShiftModifier | Qt::Key_Enter, "Hi(Pause:5)(return)there",
         19},
        {"Hi(Pause:5)there", 2, 2, Qt::Key_Delete, "Hithere", 2},
        {"Hi(Pause:5)there", 0, 0, Qt::Key_Delete, "i(Pause:5)there", 0},
        {"ab(cd) x(yz", 8, 8, Qt::Key_Delete, "ab(cd) xyz", 8},         // no ")": just the "("
        {"Hi(Pause:5)there", 2, 14, Qt::Key_Delete, "Hire", 2},         // a selection goes whole
        {"Hi(Pause:5)there", 11, 11, Qt::Key_Backspace, "Hithere", 2},  // a token goes whole
        {"Hi{6A}x", 6, 6, Qt::Key_Backspace, "Hix", 2},
        {"Hithere", 2, 2, Qt::Key_Backspace, "Hthere", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        editBox()->setPlainText(c.before);
        QTextCursor cursor = editBox()->textCursor();
        cursor.setPosition(c.from);
        cursor.setPosition(c.to, QTextCursor::KeepAnchor);
        editBox()->setTextCursor(cursor);
        press(c.key);
        EXPECT_EQ(text(), c.after);
        EXPECT_EQ(caret(), c.caretAfter);
        EXPECT_EQ(editBox()->document()->blockCount(), 1);
    }
}

TEST_F(Editing, HeldKeysActOnlyOnTokensUntilTheyGoUp) {
    editBox()->setPlainText("A(Pause:1)(TextSpeed:2)xyz");
    caretAt(1);
    QTest::keyPress(editBox(), Qt::Key_Delete);
    // The key repeats while held: a release and a press, both marked auto-repeat.
    for (int i = 0; i < 3; ++i) {
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(editBox(), &up);
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(editBox(), &down);
        EXPECT_EQ(text(), "Axyz");
    }
    QTest::keyRelease(editBox(), Qt::Key_Delete);
    press(Qt::Key_Delete);
    EXPECT_EQ(text(), "Ayz");
    QTest::keyPress(editBox(), Qt::Key_Return);
    QTest::keyClick(editBox(), Qt::Key_Z);  // held back until Enter goes up
    EXPECT_EQ(text(), "A(return)yz");
    QTest::keyRelease(editBox(), Qt::Key_Return);
    QTest::keyClick(editBox(), Qt::Key_Z);
    EXPECT_EQ(text(), "A(return)zyz");
}

TEST_F(Editing, EachTokenIsAnUndoStepOfItsOwn) {
    caretAt(2);
    press(Qt::Key_Delete);  // takes "(Pause:5)"
    QTest::keyClicks(editBox(), "ab");
    press(Qt::Key_Return);
    QTest::keyClicks(editBox(), "cd");
    dialogs->answerText(QStringLiteral("3"));
    action("mnuInsertTextSpeed")->trigger();
    EXPECT_EQ(text(), "Hiab(return)cd(TextSpeed:3)there");
    for (const QString expected :
         {"Hiab(return)cdthere", "Hiab(return)there", "Hiabthere", "Hithere", "Hi(Pause:5)there"}) {
        press(Qt::ControlModifier | Qt::Key_Z);
        EXPECT_EQ(text(), expected);
    }
    EXPECT_EQ(caret(), 2);  // before the token it gave back
    EXPECT_EQ(preview()->toPlainText(), "Hithere");
}

TEST_F(Editing, PastedLineBreaksBecomeTokensAndThePreviewShowsEveryLine) {
    QApplication::clipboard()->setText(QStringLiteral("one\r\ntwo\nthree"));
    caretAt(2);
    press(Qt::ControlModifier | Qt::Key_V);
    EXPECT_EQ(text(), "Hione(return)two(return)three(Pause:5)there");
    EXPECT_EQ(preview()->toPlainText(), "Hione\ntwo\nthreethere");
    // Every line shows, each on a row of its own: the preview never scrolls.
    editBox()->setPlainText("1(return)2(return)3(return)4(return)5(return)6(return)7");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    preview()->grab();
    std::set<int> rows;
    for (const PreviewBox::Glyph& glyph : preview()->paintedGlyphs()) {
        EXPECT_TRUE(preview()->rect().contains(glyph.cell)) << glyph.line;
        rows.insert(glyph.cell.top());
    }
    EXPECT_EQ(rows.size(), 7u);
}

TEST_F(Editing, WhatTheGameCannotTakeIsUnderlinedWithItsReason) {
    editBox()->setPlainText(QString::fromUtf8("a-b (pause:3) \u20ac"));
    const QList<QTextLayout::FormatRange> marks =
        editBox()->document()->firstBlock().layout()->formats();
    ASSERT_EQ(marks.size(), 3);
    EXPECT_EQ(marks[0].start, 1);
    EXPECT_EQ(marks[0].format.underlineStyle(), QTextCharFormat::WaveUnderline);
    EXPECT_EQ(marks[1].format.toolTip(), "\"(pause:\" is not a token: did you mean \"(Pause:\"?");
    EXPECT_TRUE(marks[2].format.toolTip().contains("U+20AC")) << marks[2].format.toolTip();
    editBox()->setPlainText("Fine(Pause:3)");
    EXPECT_TRUE(editBox()->document()->firstBlock().layout()->formats().isEmpty());
}

TEST_F(Editing, InsertCommandsAskAndPutTheTokenAtTheCaretOrOverTheSelection) {
    const struct {
        QKeyCombination shortcut;
        std::vector<std::optional<QString>> answers;  // the box refuses all but the last
        const char* title;
        const char* prompt;
        int caret;
        QString after;
    } cases[] = {
        {Qt::ControlModifier | Qt::Key_P,
         {"5"},
         "Insert Pause",
         "Please enter the length of the pause.\n(1 = Short, 10+ = Long)",
         2,
         "Hi(Pause:5)there"},
        {Qt::ControlModifier | Qt::Key_T,
         {"x y", "255", "{A}"},
         "Insert Text Speed Change",
         "Please enter the new text speed.\n(1 = Fast, 10+ = Slow)",
         2,
         "Hi(TextSpeed:{A})there"},
        {Qt::ControlModifier | Qt::Key_A,
         {" 12 "},
         "Insert Animation Change",
         "Please enter the new animation.\n(0 = Blinking, 1 = Talking, 2 = No movement, 3 = "
         "\"Sleeping\", 4 = Nervous, 5 = Hurt)",
         2,
         "Hi(Animation:12)there"},
        {Qt::ControlModifier | Qt::Key_P,
         {QString()},  // an emptied box
         "Insert Pause",
         "Please enter the length of the pause.\n(1 = Short, 10+ = Long)",
         2,
         "Hithere"},
        {Qt::ControlModifier | Qt::Key_P,
         {"3"},
         "Insert Pause",  // the caret inside a token
         "Please enter the length of the pause.\n(1 = Short, 10+ = Long)",
         5,
         "Hithere(return)(Pause:3)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.after.toStdString());
        editBox()->setPlainText(c.caret == 2 ? "Hithere" : "Hithere(return)");
        caretAt(c.caret == 2 ? 2 : 7 + c.caret);
        dialogs->clearCalls();
        for (const auto& answer : c.answers) {
            dialogs->answerText(answer);
        }
        press(c.shortcut);
        EXPECT_EQ(dialogs->callsOf(Kind::Refused).size(), c.answers.size() - 1);
        ASSERT_EQ(dialogs->callsOf(Kind::Text).size(), 1u);
        EXPECT_EQ(dialogs->calls()[0].title, c.title);
        EXPECT_EQ(dialogs->calls()[0].defaultText, "5");
        EXPECT_EQ(dialogs->calls()[0].text, c.prompt);
        EXPECT_EQ(text(), c.after);
    }
    dialogs->clearCalls();
    editBox()->selectAll();
    action("mnuInsertReturn")->trigger();
    EXPECT_EQ(text(), "(return)");
    EXPECT_TRUE(dialogs->calls().empty());      // Return asks nothing
    EXPECT_EQ(cell(0, 2), "Hi(Pause:5)there");  // the row changes only with Apply
}

TEST_F(Editing, FindWalksThePreviewFormOfTheRowsAfterTheSelectedOneAndOnFromTheFirst) {
    action("mnuFindFindNext")->trigger();  // before any Find: nothing at all
    EXPECT_TRUE(dialogs->calls().empty());
    dialogs->answerText(QStringLiteral("mOoR"));
    action("mnuFindFind")->trigger();
    EXPECT_EQ(dialogs->calls()[0].title, "");
    EXPECT_EQ(dialogs->calls()[0].text, "Please enter the text to search for:");
    EXPECT_EQ(selectedRow(), 3);
    EXPECT_EQ(text(), "the MOOR again");
    QTest::keyClick(editBox(), Qt::Key_F3);
    EXPECT_EQ(selectedRow(), 4);
    QTest::keyClick(editBox(), Qt::Key_F3);  // past the last row: on from the first
    EXPECT_EQ(selectedRow(), 3);
    EXPECT_EQ(statusText(), "Went on from the first row");
    EXPECT_TRUE(dialogs->callsOf(Kind::Information).empty());
    dialogs->answerText(QStringLiteral("ink"));
    action("mnuFindFind")->trigger();
    EXPECT_EQ(selectedRow(), 3);
    ASSERT_EQ(dialogs->callsOf(Kind::Information).size(), 1u);
    EXPECT_EQ(dialogs->calls().back().title, "Find");
    EXPECT_EQ(dialogs->calls().back().text, "'ink' wasn't found.");
}

}  // namespace
}  // namespace qm::testing
