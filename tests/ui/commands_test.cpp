// The Insert menu's commands and Find / Find Next, driven as a user drives them.
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "window_fixture.h"

namespace qm::testing {
namespace {

using Kind = ScriptedDialogs::Kind;

class InsertCommands : public WindowTest {
  protected:
    void SetUp() override {
        openRom(romWithRows({{0, "No", "Hi there"}}));
        dialogs->clearCalls();
    }
};

// Each box asked for from the edit box by its shortcut, its default accepted.
TEST_F(InsertCommands, EachBoxAsksWithItsPromptAndInsertsAtTheCaret) {
    const struct {
        Qt::Key shortcut;
        const char* prompt;
        const char* text;
    } cases[] = {
        {Qt::Key_P, "Please enter the length of the pause.\n(1 = Short, 10+ = Long)",
         "Hi(Pause:5) there"},
        {Qt::Key_T, "Please enter the new text speed.\n(1 = Fast, 10+ = Slow)",
         "Hi(TextSpeed:5) there"},
        {Qt::Key_A,
         "Please enter the new animation.\n(0 = Blinking, 1 = Talking, 2 = No movement, 3 = "
         "\"Sleeping\", 4 = Nervous, 5 = Hurt)",
         "Hi(Animation:5) there"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        editBox()->setPlainText("Hi there");
        caretAt(2);
        dialogs->clearCalls();
        dialogs->answerText(QStringLiteral("5"));
        QTest::keyClick(editBox(), c.shortcut, Qt::ControlModifier);
        ASSERT_EQ(dialogs->calls().size(), 1u);
        EXPECT_EQ(dialogs->calls()[0].kind, Kind::Text);
        EXPECT_EQ(dialogs->calls()[0].title, "Insert Pause");
        EXPECT_EQ(dialogs->calls()[0].text, c.prompt);
        EXPECT_EQ(dialogs->calls()[0].defaultText, "5");
        EXPECT_EQ(editBox()->toPlainText(), c.text);
        EXPECT_EQ(caret(), static_cast<int>(std::string(c.text).find(')')) + 1);
        EXPECT_EQ(preview()->toPlainText(), "Hi there");
    }
}

TEST_F(InsertCommands, TypedValueGoesInAsTypedAndReplacesTheSelection) {
    QTextCursor cursor = editBox()->textCursor();
    cursor.setPosition(3);
    cursor.setPosition(8, QTextCursor::KeepAnchor);  // "there"
    editBox()->setTextCursor(cursor);
    dialogs->answerText(QStringLiteral("x y"));
    action("mnuInsertPause")->trigger();
    EXPECT_EQ(editBox()->toPlainText(), "Hi (Pause:x y)");
    EXPECT_EQ(caret(), 14);
    EXPECT_EQ(preview()->toPlainText(), "Hi ");
    // The row changes only with Apply.
    EXPECT_EQ(cell(0, 2), "Hi there");
}

TEST_F(InsertCommands, CancelledOrEmptiedBoxChangesNothing) {
    caretAt(2);
    for (const auto& answer : {std::optional<QString>{}, std::optional<QString>{QString()}}) {
        for (const char* name : {"mnuInsertPause", "mnuInsertTextSpeed", "mnuInsertAnimation"}) {
            dialogs->answerText(answer);
            action(name)->trigger();
            EXPECT_EQ(editBox()->toPlainText(), "Hi there") << name;
            EXPECT_EQ(caret(), 2);
        }
    }
}

TEST_F(InsertCommands, ReturnInsertsWithoutAskingAndUndoTakesItBack) {
    caretAt(2);
    action("mnuInsertReturn")->trigger();
    EXPECT_TRUE(dialogs->calls().empty());
    EXPECT_EQ(editBox()->toPlainText(), "Hi(return) there");
    EXPECT_EQ(caret(), 10);
    EXPECT_EQ(preview()->toPlainText(), "Hi\n there");
    editBox()->undo();
    EXPECT_EQ(editBox()->toPlainText(), "Hi there");
}

TEST_F(InsertCommands, AddPopsUpTheInsertItemsAndEscapeChangesNothing) {
    QMenu* shown = nullptr;
    QStringList items;
    QTimer::singleShot(0, [&] {
        shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (shown) {
            for (QAction* a : shown->actions()) {
                items << a->text();
            }
            QTest::keyClick(shown, Qt::Key_Escape);
        }
    });
    QTest::mouseClick(widget<QPushButton>("cmdAdd"), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(items, (QStringList{"&Pause", "&Text Speed Change", "&Animation Change", "&Return"}));
    EXPECT_EQ(editBox()->toPlainText(), "Hi there");
    EXPECT_TRUE(dialogs->calls().empty());
}

class FindCommands : public WindowTest {
  protected:
    void SetUp() override {
        openRom(romWithRows({{0, "No", "Moor one"},
                             {0, "No", "Hello(return)world"},
                             {0, "No", "Hi(Pause:5)there"},
                             {0, "No", "the MOOR again"},
                             {0, "No", "last moor"}}));
        dialogs->clearCalls();
    }
    void find(const std::optional<QString>& text) {
        dialogs->answerText(text);
        action("mnuFindFind")->trigger();
    }
    int notFoundCount() const {
        int n = 0;
        for (const auto& call : dialogs->calls()) {
            n += call.kind == Kind::Information;
        }
        return n;
    }
};

TEST_F(FindCommands, FindAsksThenFindNextVisitsEveryFollowingMatchThenSaysNotFound) {
    find(QStringLiteral("mOoR"));  // the first row is selected: the search starts after it
    EXPECT_EQ(dialogs->calls()[0].title, "");
    EXPECT_EQ(dialogs->calls()[0].text, "Please enter the text to search for:");
    EXPECT_EQ(dialogs->calls()[0].defaultText, "");
    EXPECT_EQ(selectedRow(), 3);
    EXPECT_EQ(editBox()->toPlainText(), "the MOOR again");
    action("mnuFindFindNext")->trigger();
    EXPECT_EQ(selectedRow(), 4);
    EXPECT_EQ(notFoundCount(), 0);
    QTest::keyClick(editBox(), Qt::Key_F3);
    EXPECT_EQ(selectedRow(), 4);
    ASSERT_EQ(notFoundCount(), 1);
    EXPECT_EQ(dialogs->calls().back().title, "Find");
    EXPECT_EQ(dialogs->calls().back().text, "'mOoR' wasn't found.");
}

TEST_F(FindCommands, SearchesThePreviewFormOfEachRow) {
    find(QStringLiteral("Pause"));
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(notFoundCount(), 1);
    find(QStringLiteral("o w"));
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(editBox()->toPlainText(), "Hello(return)world");
}

TEST_F(FindCommands, NothingHappensWithoutASearchText) {
    action("mnuFindFindNext")->trigger();  // before any Find
    EXPECT_TRUE(dialogs->calls().empty());
    find(std::nullopt);  // cancelled: no message, selection stays, search text emptied
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(notFoundCount(), 0);
    QTest::keyClick(list(), Qt::Key_F3);
    EXPECT_EQ(notFoundCount(), 0);
}

TEST_F(FindCommands, NoWrapAroundFromTheLastRow) {
    clickRow(4);
    find(QStringLiteral("one"));
    EXPECT_EQ(selectedRow(), 4);
    EXPECT_EQ(notFoundCount(), 1);
    find(QString::fromUtf8("\xE2\x82\xAC"));  // a character no game text has
    EXPECT_EQ(notFoundCount(), 2);
}

// The real dialogs, answered by a timer: their titles, prompts and defaults.
TEST(RealDialogs, InputAndMessageBoxesShowWhatTheCommandsAsk) {
    QtDialogs real;
    QString title, label, value;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        label = box->labelText();
        value = box->textValue();
        box->setTextValue(QStringLiteral("12"));
        box->accept();
    });
    const auto answer = real.getText(nullptr, QStringLiteral("Insert Pause"),
                                     QStringLiteral("Please enter the length of the pause.\n"
                                                    "(1 = Short, 10+ = Long)"),
                                     QStringLiteral("5"));
    EXPECT_EQ(title, "Insert Pause");
    EXPECT_EQ(label, "Please enter the length of the pause.\n(1 = Short, 10+ = Long)");
    EXPECT_EQ(value, "5");
    EXPECT_EQ(answer, QStringLiteral("12"));

    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        label = box->text();
        value = QString::number(box->buttons().size());
        box->accept();
    });
    real.information(nullptr, QStringLiteral("Find"), QStringLiteral("'ink' wasn't found."));
    EXPECT_EQ(title, "Find");
    EXPECT_EQ(label, "'ink' wasn't found.");
    EXPECT_EQ(value, "1");

    // Open ROM's file dialog, cancelled: its title and the two filters.
    frmMain window;
    QStringList filters;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        dialog->reject();
    });
    window.findChild<QAction*>("mnuOpenRom")->trigger();
    EXPECT_EQ(title, "Select Rom");
    EXPECT_EQ(filters, (QStringList{"SNES ROM (*.smc)", "All Files (*)"}));
    EXPECT_EQ(window.windowTitle(), "Quillmoor Text Edit");
}

}  // namespace
}  // namespace qm::testing
