// Checks against the original in the window: marks, the Warnings filter, Next
// Warning, ignoring a check on a row, and Reflow with Undo.
#include <QComboBox>
#include <QMenu>
#include <QTest>

#include "project/project_file.hpp"
#include "translation_commands.h"
#include "window_fixture.h"

namespace qm::testing {
namespace {

class Checking : public WindowTest {
  protected:
    void SetUp() override {
        const auto original = romWithRows({{0, "No", "Wait(Pause:5) done."},
                                           {1, "No", "12 reeds!"},
                                           {0, "No", "Hello"},
                                           {0, "No", "Hello"},
                                           {0, "No", "A fox"}})
                                  .writeTo(dir.path(), "original.smc");
        rom = openRom(romWithRows({{0, "No", "Warte, fertig."},
                                   {1, "No", "13 reeds!"},
                                   {0, "No", "Hallo"},
                                   {0, "No", "Servus"},
                                   {0, "No", "The quick brown fox jumps over the lazy"}}));
        dialogs->answerOpen(QString::fromStdString(original.string()));
        action("mnuCompareOriginal")->trigger();
    }
    QString tip(int row) const {
        return list()->model()->index(row, 0).data(Qt::ToolTipRole).toString();
    }
    std::filesystem::path rom;
};

TEST_F(Checking, WarningsAreMarkedFilteredJumpedToAndIgnoredWhereTheTeamSays) {
    EXPECT_TRUE(tip(0).contains("Warning, codes: (Pause:5) of the original is missing")) << tip(0);
    EXPECT_TRUE(tip(1).contains("Warning, digits")) << tip(1);
    EXPECT_TRUE(tip(3).contains("Warning, inconsistent")) << tip(3);
    widget<QComboBox>("cboFilterState")->setCurrentText("Warnings");
    EXPECT_EQ(list()->model()->rowCount(), 4);  // every row but the last
    widget<QComboBox>("cboFilterState")->setCurrentText("All");
    action("mnuFindNextWarning")->trigger();
    EXPECT_EQ(selectedRow(), 1);
    auto* commands = window->findChild<TranslationCommands*>();
    std::unique_ptr<QMenu> menu = commands->rowMenu(0);
    ASSERT_NE(menu, nullptr);
    menu->actions().at(0)->trigger();  // Ignore "codes" on row 1
    EXPECT_FALSE(tip(0).contains("Warning")) << tip(0);
    EXPECT_TRUE(window->isWindowModified());  // the project holds the choice
    action("mnuSaveRom")->trigger();
    EXPECT_EQ(ReadProjectBeside(rom.string()).ignoredWarnings,
              (std::set<IgnoredWarning>{{0, "codes"}}));
    menu = commands->rowMenu(0);
    ASSERT_NE(menu, nullptr);
    menu->actions().at(0)->trigger();  // warn about it again
    EXPECT_TRUE(tip(0).contains("Warning, codes"));
}

TEST_F(Checking, ReflowPutsLineBreaksWhereTheBoxNeedsThemAndUndoTakesThemBack) {
    clickRow(4);
    action("mnuReflowRow")->trigger();
    EXPECT_EQ(editBox()->toPlainText(), "The quick brown fox(return)jumps over the lazy");
    EXPECT_EQ(previewColours(preview()), QString(19, u'W') + "\n" + QString(19, u'W'));
    apply();
    EXPECT_EQ(action("mnuUndo")->text(), "Undo Reflow (row 5)");
    action("mnuUndo")->trigger();
    EXPECT_EQ(cell(4, 2), "The quick brown fox jumps over the lazy");
    action("mnuReflowAll")->trigger();
    EXPECT_EQ(action("mnuUndo")->text(), "Undo Reflow All (1 row)");
    EXPECT_EQ(cell(4, 2), "The quick brown fox(return)jumps over the lazy");
}

}  // namespace
}  // namespace qm::testing
