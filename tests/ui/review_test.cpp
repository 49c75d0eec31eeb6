// Notes and review states in the window, and the recovery file that keeps
// unsaved work when the window dies, down to a SIGKILL of its process.
#include <QComboBox>
#include <QProcess>
#include <QTest>

#include "autosave.h"
#include "project/project_file.hpp"
#include "rom/load.hpp"
#include "rom_session.h"
#include "window_fixture.h"

namespace qm::testing {
namespace {

using Kind = ScriptedDialogs::Kind;

const std::vector<RomRow> kRows = {
    {0, "No", "One"}, {1, "No", "Two"}, {2, "No", "Three"}, {3, "No", "Four"}};

class Reviewing : public WindowTest {
  protected:
    void SetUp() override { rom = openRom(romWithRows(kRows)); }
    QPlainTextEdit* note() const { return widget<QPlainTextEdit>("txtNote"); }
    QComboBox* state() const { return widget<QComboBox>("cboState"); }
    void choose(const char* name) {
        state()->setCurrentText(QString::fromLatin1(name));
        emit state()->activated(state()->currentIndex());
    }
    QString states() const { return widget<QLabel>("sbStates")->text(); }
    std::filesystem::path rom;
};

TEST_F(Reviewing, NoteAndStateGoWithTheRowAsOneStepAndAnEditUnapprovesIt) {
    clickRow(1);
    note()->setPlainText("Check the name with the team");
    choose("Needs review");
    apply();
    EXPECT_EQ(action("mnuUndo")->text(), "Undo Apply (row 2)");
    EXPECT_TRUE(list()
                    ->model()
                    ->index(1, 0)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .contains("Note: Check the name with the team"));
    EXPECT_TRUE(states().endsWith(QString::fromUtf8("\u00b7 1 need review \u00b7 0 approved")))
        << states();
    widget<QComboBox>("cboFilterState")->setCurrentText("Needs review");
    EXPECT_EQ(list()->model()->rowCount(), 1);
    widget<QComboBox>("cboFilterState")->setCurrentText("All");
    clickRow(3);
    action("mnuFindNextNeedingReview")->trigger();
    EXPECT_EQ(selectedRow(), 1);
    choose("Approved");
    apply();
    editBox()->setPlainText("Deux");  // an Approved row's text changes: Draft again
    apply();
    EXPECT_EQ(state()->currentText(), "Draft");
    QTest::keyClick(editBox(), Qt::Key_S, Qt::ControlModifier);
    const Project project = ReadProjectBeside(rom.string());
    EXPECT_EQ(project.reviews.at(1),
              (RowReview{"Check the name with the team", ReviewState::Draft}));
    action("mnuUndo")->trigger();  // back to Approved with the old text, unsaved
    EXPECT_EQ(state()->currentText(), "Approved");
    EXPECT_EQ(editBox()->toPlainText(), "Two");
    EXPECT_TRUE(window->isWindowModified());
}

TEST_F(Reviewing, ANoteAndAChoiceAloneAreRecovered) {
    clickRow(2);
    note()->setPlainText("Only a note");
    apply();
    window->findChild<RomSession*>()->ignoreWarning(3, Check::Spaces, true);
    window->findChild<Autosave*>()->writeNow();
    startWindow();
    dialogs->answerChoice(0);  // Recover
    openWithAnswer(QString::fromStdString(rom.string()));
    ASSERT_EQ(dialogs->callsOf(Kind::Choice).size(), 1u);
    clickRow(2);
    EXPECT_EQ(note()->toPlainText(), "Only a note");
    EXPECT_TRUE(window->isWindowModified());
    QTest::keyClick(editBox(), Qt::Key_S, Qt::ControlModifier);
    const Project saved = ReadProjectBeside(rom.string());
    EXPECT_EQ(saved.reviews.at(2).note, "Only a note");
    EXPECT_EQ(saved.ignoredWarnings, (std::set<IgnoredWarning>{{3, "spaces"}}));
}

// The first half of the process test: a window that applies a row, types more
// and then waits to be killed. Runs only when the process test starts it.
TEST(RecoveryChild, TypesThenWaitsToBeKilled) {
    const QByteArray folder = qgetenv("QM_RECOVERY_CHILD");
    if (folder.isEmpty()) {
        GTEST_SKIP() << "the process test starts this in a process of its own";
    }
    const std::filesystem::path dir = folder.toStdString();
    WindowServices services;
    services.dialogs = std::make_unique<ScriptedDialogs>();
    services.settingsFile = QString::fromStdString((dir / "settings.ini").string());
    services.recoveryFolder = QString::fromStdString((dir / "recovery").string());
    frmMain window(std::move(services));
    window.show();
    ASSERT_TRUE(window.openRom(QString::fromStdString((dir / "game.smc").string())));
    auto* list = window.findChild<QTreeView*>(QStringLiteral("lvText"));
    list->setCurrentIndex(list->model()->index(1, 0));
    auto* box = window.findChild<QPlainTextEdit*>(QStringLiteral("txtText"));
    box->setFocus();
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, " applied");
    window.findChild<QPushButton*>(QStringLiteral("cmdApply"))->click();
    QTest::keyClicks(box, " and typed");
    QTest::qWait(60000);  // the parent kills the process long before this ends
}

TEST_F(WindowTest, AWindowKilledMidWorkLosesNothingItHeldForFiveSeconds) {
    const auto game = romWithRows(kRows).writeTo(dir.path(), "game.smc");
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QM_RECOVERY_CHILD"), QString::fromStdString(dir.path()));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=RecoveryChild.*")});
    ASSERT_TRUE(child.waitForStarted());
    QTest::qWait(6000);
    child.kill();  // SIGKILL: no handler, no save, no clean-up
    ASSERT_TRUE(child.waitForFinished());
    ASSERT_EQ(child.exitStatus(), QProcess::CrashExit);
    dialogs->answerChoice(0);  // Recover
    openWithAnswer(QString::fromStdString(game.string()));
    ASSERT_EQ(dialogs->callsOf(Kind::Choice).size(), 1u);
    EXPECT_TRUE(dialogs->callsOf(Kind::Choice)[0].text.startsWith("Recover 1 unsaved row from"))
        << dialogs->callsOf(Kind::Choice)[0].text;
    EXPECT_EQ(cell(1, 2), "Two applied");
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(editBox()->toPlainText(), "Two applied and typed");  // back, not applied
    EXPECT_TRUE(window->isWindowModified());
    QTest::keyClick(editBox(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(LoadRom(game.string())[1].Text, "Two applied and typed");
    // Saved: the recovery file is gone, and the next open asks nothing.
    window->findChild<Autosave*>()->writeNow();
    dialogs->clearCalls();
    openWithAnswer(QString::fromStdString(game.string()));
    EXPECT_TRUE(dialogs->callsOf(Kind::Choice).empty());
}

}  // namespace
}  // namespace qm::testing
