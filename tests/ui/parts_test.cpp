// The window's parts on their own, without a main window: the session's undo
// steps and clean state, and the entry editor's rules for what counts as an
// unapplied edit.
#include <QAction>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTest>

#include "entry_editor.h"
#include "rom_session.h"
#include "save/writer.hpp"
#include "string_table_model.h"
#include "window_fixture.h"

namespace qm::testing {
namespace {

class Parts : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto path = romWithRows({{0, "No", "One"}, {-1, "?", "Two"}, {0, "No", "One"}})
                              .writeTo(dir.path(), "parts.smc");
        session.open(path.string(), {});
    }
    StringEntry withText(int row, const std::string& text) const {
        StringEntry entry = session.model().entry(row);
        entry.Text = text;
        return entry;
    }
    QString undoText() const { return session.history().undoAction()->text(); }

    TempDir dir;
    RomSession session;
};

TEST_F(Parts, SessionNamesEachStepByItsRowsAndKnowsWhatTheFileHolds) {
    TableHistory& history = session.history();
    history.changeRow(QStringLiteral("Apply"), 1, withText(1, "Two"));  // no change: no step
    EXPECT_FALSE(history.undoAction()->isEnabled());
    history.changeRow(QStringLiteral("Apply"), 1, withText(1, "Deux"));
    EXPECT_EQ(undoText(), "Undo Apply (row 2)");
    EXPECT_EQ(history.changeRows(QStringLiteral("Replace All"),
                                 {{0, withText(0, "Un")}, {2, withText(2, "One")}}),
              1u);
    EXPECT_EQ(undoText(), "Undo Replace All (1 row)");
    EXPECT_TRUE(session.hasUnsavedChanges());
    session.save({});
    EXPECT_FALSE(session.hasUnsavedChanges());
    EXPECT_EQ(session.model().changedRows(), 0);
    // An undo after the save takes the file's rows back to what they were.
    history.undo();
    EXPECT_EQ(session.model().entry(0).Text, "One");
    EXPECT_TRUE(session.hasUnsavedChanges());
    EXPECT_EQ(session.applyToIdenticalRows(0), 0u);  // no original: no identical rows
}

TEST_F(Parts, EditorCountsOnlyWhatTheUserChangedAndARevertNamesTheNextApply) {
    EntryEditor editor;
    editor.setUp(session.model(), dir.path().c_str());
    auto* text = editor.findChild<QPlainTextEdit*>(QStringLiteral("txtText"));
    auto* colour = editor.findChild<QCheckBox*>(QStringLiteral("chkColoured"));
    editor.load(1);  // coloured "?": a colour the box cannot show
    EXPECT_FALSE(editor.isModified());
    EXPECT_EQ(editor.edited()->Coloured, Colour::Unset);
    colour->click();
    EXPECT_EQ(editor.edited()->Coloured, Colour::Yes);
    EXPECT_TRUE(editor.isModified());
    colour->click();  // unticked again: the row's own "?" once more
    EXPECT_EQ(editor.edited()->Coloured, Colour::Unset);
    EXPECT_FALSE(editor.isModified());
    editor.revertTo(0, Colour::Unset, "Reverted", QStringLiteral("Revert to File"));
    EXPECT_EQ(editor.stepName(), "Revert to File");
    EXPECT_EQ(editor.edited()->Text, "Reverted");
    EXPECT_EQ(editor.edited()->Coloured, Colour::Unset);
    EXPECT_TRUE(editor.isModified());
    text->undo();  // the revert is one step of the edit box's own undo
    EXPECT_EQ(text->toPlainText(), "Two");
    editor.load(0);
    EXPECT_EQ(editor.stepName(), "Apply");
    EXPECT_TRUE(editor.queueRowQuestion());
    EXPECT_FALSE(editor.queueRowQuestion());  // one question on its way at a time
}

}  // namespace
}  // namespace qm::testing
