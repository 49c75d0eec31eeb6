// The translator's view: an original beside the translation, row states and
// their counts, the filter, reverts, identical rows, and Replace with its undo.
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "rom/load.hpp"
#include "string_table_model.h"
#include "window_fixture.h"

namespace qm::testing {
namespace {

using Kind = ScriptedDialogs::Kind;

class Translating : public WindowTest {
  protected:
    void SetUp() override {
        original = romWithRows({{0, "No", "Good day"},
                                {1, "Yes", "Bye"},
                                {0, "No", "Good day"},
                                {-1, "No", "123456789012345678901"}})
                       .writeTo(dir.path(), "original.smc");
        story = openRom(romWithRows({{0, "No", "Guten Tag"},
                                     {1, "Yes", "Bye"},
                                     {0, "No", "Good day"},
                                     {-1, "No", "123456789012345678901"}}),
                        "story.smc");
        dialogs->answerOpen(QString::fromStdString(original.string()));
        action("mnuCompareOriginal")->trigger();
    }
    QString states() const { return widget<QLabel>("sbStates")->text(); }
    QStringList texts() const {
        QStringList shown;
        for (int r = 0; r < list()->model()->rowCount(); ++r) {
            shown << cell(r, 0) + ":" + cell(r, 2);
        }
        return shown;
    }

    std::filesystem::path original;
    std::filesystem::path story;
};

TEST_F(Translating, TheOriginalStandsBesideTheTranslationAndTheFilterKeepsRowNumbers) {
    EXPECT_FALSE(list()->header()->isSectionHidden(kColOriginal));
    EXPECT_EQ(cell(0, kColOriginal), "Good day");
    EXPECT_EQ(states(), QString::fromUtf8("1 of 4 translated \u00b7 1 overflow \u00b7 0 cannot be "
                                          "saved \u00b7 0 warnings"));
    editBox()->selectAll();  // the counts take the edit box as if applied
    QTest::keyClicks(editBox(), "Good day");
    EXPECT_TRUE(states().startsWith("0 of 4 translated")) << states();
    editBox()->setPlainText("Guten Tag");
    widget<QLineEdit>("txtFilter")->setText("GOOD");  // the original's text counts too
    EXPECT_EQ(texts(), QStringList({"1:Guten Tag", "3:Good day"}));
    widget<QLineEdit>("txtFilter")->clear();
    widget<QComboBox>("cboFilterState")->setCurrentText("Untranslated");
    // The row in the editor stays in the list, selected, whatever the filter says.
    EXPECT_EQ(texts(),
              QStringList({"1:Guten Tag", "2:Bye", "3:Good day", "4:123456789012345678901"}));
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(editBox()->toPlainText(), "Guten Tag");
    action("mnuFindNextProblem")->trigger();  // a row the filter shows
    EXPECT_EQ(selectedRow(), 3);
    widget<QComboBox>("cboFilterState")->setCurrentText("All");
    action("mnuCloseOriginal")->trigger();
    EXPECT_TRUE(list()->header()->isSectionHidden(kColOriginal));
    EXPECT_EQ(states(), QString::fromUtf8("1 overflow \u00b7 0 cannot be saved"));
    window->openRom(QString::fromStdString(story.string()));  // closed: not reopened
    EXPECT_TRUE(list()->header()->isSectionHidden(kColOriginal));
}

TEST_F(Translating, RevertToOriginalThenApplyGivesTheOriginalsBytesAndIdenticalRowsFollow) {
    action("mnuRevertOriginal")->trigger();
    EXPECT_EQ(cell(0, 2), "Guten Tag");  // not applied yet
    apply();
    EXPECT_EQ(action("mnuUndo")->text(), "Undo Revert to Original (row 1)");
    QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(LoadRom(story.string())[0].Loaded.bytes, LoadRom(original.string())[0].Loaded.bytes);
    editBox()->setPlainText("Hallo");
    dialogs->answerYesNo(true);
    apply();
    ASSERT_EQ(dialogs->callsOf(Kind::YesNo).size(), 1u);
    EXPECT_EQ(dialogs->calls().back().text, "Apply to 1 other row with the same original?");
    EXPECT_EQ(texts().mid(0, 3), QStringList({"1:Hallo", "2:Bye", "3:Hallo"}));
    action("mnuUndo")->trigger();  // selects row 3, which it changed
    EXPECT_EQ(cell(2, 2), "Good day");
    action("mnuFindNextUntranslated")->trigger();  // row 4, then round to row 2
    action("mnuFindNextUntranslated")->trigger();
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(statusText(), "Went on from the first row");
}

TEST_F(Translating, ReplaceAllIsOneStepAndARefusedReplacementChangesNothing) {
    action("mnuFindReplace")->trigger();
    auto* find = window->findChild<QLineEdit*>("txtReplaceFind");
    auto* with = window->findChild<QLineEdit*>("txtReplaceWith");
    auto* all = window->findChild<QPushButton*>("cmdReplaceAll");
    ASSERT_TRUE(find && with && all);
    find->setText("day");
    with->setText(QString::fromUtf8("d\u00e9"));  // Latin-1, but the font has no "é"
    all->click();
    EXPECT_TRUE(dialogs->callsOf(Kind::Warning).at(0).text.contains("cannot go into 1 row"));
    EXPECT_FALSE(window->isWindowModified());
    with->setText("night");
    all->click();
    EXPECT_EQ(window->findChild<QLabel*>("lblReplaceOutcome")->text(), "Replaced 1 time in 1 row");
    EXPECT_EQ(texts(),
              QStringList({"1:Guten Tag", "2:Bye", "3:Good night", "4:123456789012345678901"}));
    EXPECT_EQ(action("mnuUndo")->text(), "Undo Replace All (1 row)");
    action("mnuUndo")->trigger();
    EXPECT_EQ(cell(2, 2), "Good day");
    EXPECT_FALSE(window->isWindowModified());
}

}  // namespace
}  // namespace qm::testing
