// The window as a whole: before and after a load, opening files (menu, recent
// list, drop), the list and the editor, Apply, the unsaved-changes question, the
// budget panel, tables and patches, and saving.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QUrl>
#include <functional>

#include "exchange/formats.hpp"
#include "patch/patch.hpp"
#include "save/writer.hpp"
#include "status_panels.h"
#include "string_table_model.h"
#include "window_fixture.h"

namespace qm::testing {
namespace {

using Kind = ScriptedDialogs::Kind;
using Answer = Dialogs::SaveChangesAnswer;

const std::vector<RomRow> kRows = {{0, "No", "First(return)row"},
                                   {7, "Yes", "Second"},
                                   {-1, "No", "Third(Pause:5)"},
                                   {5, "No", "Fourth"}};

class Window : public WindowTest {
  protected:
    std::filesystem::path openRows() { return openRom(romWithRows(kRows), "story.smc"); }
    void expectLoaded(int row, const QString& text, int portraitNumber, bool isColoured) {
        EXPECT_EQ(selectedRow(), row);
        EXPECT_EQ(editBox()->toPlainText(), text);
        EXPECT_EQ(portrait()->value(), portraitNumber);
        EXPECT_EQ(coloured()->isChecked(), isColoured);
    }
    void drop(const std::filesystem::path& file) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &dropped);
    }
};

TEST_F(Window, OffersOnlyOpeningUntilARomImageIsOpenThenEverything) {
    for (const char* keys : {"Ctrl+S", "Ctrl+R", "Ctrl+A", "F2"}) {
        QTest::keySequence(window.get(), QKeySequence(QString::fromLatin1(keys)));
    }
    EXPECT_TRUE(dialogs->calls().empty());  // shortcuts of disabled commands do nothing
    for (bool open : {false, true}) {
        if (open) {
            openRows();
        }
        for (const char* name : {"lvText", "fraText", "txtText2", "txtText", "mnuInsert", "mnuFind",
                                 "mnuSaveRom", "mnuImportTable", "mnuCreatePatch"}) {
            QObject* item = window->findChild<QObject*>(QString::fromLatin1(name));
            const auto* menu = qobject_cast<QMenu*>(item);
            EXPECT_EQ(menu ? menu->menuAction()->isEnabled() : item->property("enabled").toBool(),
                      open)
                << name;
        }
    }
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit - story.smc[*]");
    QAbstractItemModelTester tester(window->findChild<StringTableModel*>(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QStringList second = {cell(1, 0), cell(1, 1), cell(1, 2), cell(1, 3), cell(1, 4)};
    EXPECT_EQ(second, QStringList({"2", "Mad Ms. Edna", "Second", "Yes", "0E04"}));
    expectLoaded(0, "First(return)row", 0, false);
    EXPECT_EQ(preview()->toPlainText(), "First\nrow");
    EXPECT_EQ(shownPortraitColour(), portraitTestColour(0));
}

TEST_F(Window, OpenRomShowsProgressBlocksOtherCommandsAndReportsWhatItCannotOpen) {
    const auto first = openRows();
    EXPECT_EQ(dialogs->calls().at(0).title + "|" + dialogs->calls().at(0).text,
              "Select Rom|SNES ROM (*.smc *.sfc);;All Files (*)");
    const Bytes before = readFile(first);
    QStringList shown;
    recordStatus(shown);
    QObject::connect(window->findChild<StatusPanels*>(), &StatusPanels::textShown, [&] {
        if (shown.size() == 1) {
            action("mnuSaveRom")->trigger();  // would write story.smc
            action("mnuOpenRom")->trigger();  // would ask for a file
        }
    });
    openRom(romWithRows(kRows), "second.smc");
    EXPECT_TRUE(readFile(first) == before);
    EXPECT_EQ(dialogs->callsOf(Kind::Open).size(), 2u);
    ASSERT_GE(shown.size(), 4);
    EXPECT_EQ(shown.mid(0, 2), QStringList({"Reading ROM Pointers", "Reading ROM Strings"}));
    EXPECT_TRUE(shown.last().startsWith("Parsing ROM Strings And Adding to String Table"));
    EXPECT_EQ(dialogs->calls().back().defaultText, QString::fromStdString(dir.path().string()));
    // Neither a cancelled dialog nor a file that cannot be opened changes anything.
    openWithAnswer(std::nullopt);
    openRom(RomBuilder().truncateTo(kTextRegionEnd - 1), "short.smc");
    EXPECT_EQ(list()->model()->rowCount(), 4);
    const auto warnings = dialogs->callsOf(Kind::Warning);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].title, "Open ROM");
    EXPECT_TRUE(warnings[0].text.contains("too short")) << warnings[0].text;
    EXPECT_EQ(window->romPath(), (dir.path() / "second.smc").string());
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit - second.smc[*]");
}

TEST_F(Window, TheListLoadsARowWhenItsSelectionMovesAndOnlyThen) {
    openRows();
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Down);
    expectLoaded(1, "Second", 7, true);
    EXPECT_EQ(shownPortraitColour(), portraitTestColour(7));
    QTest::keyClick(portrait(), Qt::Key_Left);  // as its left arrow: to the lower number
    EXPECT_EQ(portrait()->value(), 6);
    portrait()->setValue(7);
    // An inserted token survives the key-up of the Enter that accepted its box.
    dialogs->answerText(QStringLiteral("7"));
    QTest::keyClick(list(), Qt::Key_P, Qt::ControlModifier);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Tab, Qt::Key_Shift}) {
        QTest::keyRelease(list(), key);
    }
    EXPECT_EQ(editBox()->toPlainText(), "(Pause:7)Second");
    EXPECT_TRUE(editBox()->hasFocus());  // typing goes on after the token
    dialogs->answerApplyChanges(Dialogs::ApplyChangesAnswer::Discard);
    list()->horizontalScrollBar()->setValue(0);
    clickRow(2);
    expectLoaded(2, "Third(Pause:5)", -1, false);
    EXPECT_EQ(list()->horizontalScrollBar()->value(), 0);  // no sideways jump
    const QPoint centre = list()->visualRect(list()->model()->index(2, 2)).center();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::ControlModifier, centre);
    EXPECT_EQ(selectedRow(), 2);  // Ctrl+click keeps a row selected
}

TEST_F(Window, LeavingARowWithUnappliedEditsAsksWhateverMovesTheSelection) {
    openRows();
    const std::pair<const char*, std::function<void()>> moves[] = {
        {"click", [this] { clickRow(2); }},
        {"key",
         [this] {
             list()->setFocus();
             QTest::keyClick(list(), Qt::Key_Down);
             QCoreApplication::processEvents();
         }},
        {"find", [this] {
             dialogs->answerText(QStringLiteral("third"));
             action("mnuFindFind")->trigger();
         }}};
    using Apply = Dialogs::ApplyChangesAnswer;
    for (const auto& [how, move] : moves) {
        for (Apply answer : {Apply::Apply, Apply::Discard, Apply::Cancel}) {
            SCOPED_TRACE(std::string(how) + std::to_string(int(answer)));
            clickRow(1);
            const QString before = cell(1, 2);
            caretAt(3);
            QTest::keyClick(editBox(), Qt::Key_X);
            const QString typed = editBox()->toPlainText();
            dialogs->clearCalls();
            dialogs->answerApplyChanges(answer);
            move();
            const auto asked = dialogs->callsOf(Kind::ApplyQuestion);
            ASSERT_EQ(asked.size(), 1u);
            EXPECT_EQ(asked[0].text, "Apply the changes to row 2?");
            EXPECT_EQ(cell(1, 2), answer == Apply::Apply ? typed : before);
            EXPECT_EQ(selectedRow(), answer == Apply::Cancel ? 1 : 2);
            EXPECT_EQ(editBox()->toPlainText(), answer == Apply::Cancel ? typed : cell(2, 2));
            if (answer == Apply::Cancel) {
                EXPECT_EQ(caret(), 4);
                EXPECT_TRUE(editBox()->hasFocus());
                editBox()->setPlainText(before);  // nothing left to ask about
            }
        }
    }
}

TEST_F(Window, EveryChangeToTheTableIsOneUndoStepAndTheMarkFollowsTheFile) {
    openRows();
    clickRow(1);
    editBox()->setPlainText("Applied");
    apply();
    writeFile(dir.path() / "in.csv", bytesOf("Number,Text\n1,One\n4,Four\n"));
    dialogs->answerOpen(QString::fromStdString((dir.path() / "in.csv").string()));
    action("mnuImportTable")->trigger();
    const QStringList after = {"One", "Applied", "Third(Pause:5)", "Four"};
    const QStringList before = {"First(return)row", "Second", "Third(Pause:5)", "Fourth"};
    const auto texts = [this] {
        return QStringList{cell(0, 2), cell(1, 2), cell(2, 2), cell(3, 2)};
    };
    EXPECT_EQ(action("mnuUndo")->text(), "Undo Import Table (2 rows)");
    list()->setFocus();  // outside the edit box, Ctrl+Z is the table's
    for (const char* keys : {"Ctrl+Z", "Alt+Backspace", "Ctrl+Y", "Ctrl+Y"}) {
        QTest::keySequence(list(), QKeySequence(QString::fromLatin1(keys)));
    }
    EXPECT_EQ(texts(), after);
    QTest::keyClick(list(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(list(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(texts(), before);
    EXPECT_EQ(selectedRow(), 1);  // the row the step changed
    EXPECT_EQ(editBox()->toPlainText(), "Second");
    EXPECT_FALSE(window->isWindowModified());  // back where the file is
    action("mnuRedo")->trigger();
    QTest::keySequence(list(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_FALSE(window->isWindowModified());
    action("mnuUndo")->trigger();  // undo after a save: the file no longer matches
    EXPECT_TRUE(window->isWindowModified());
    QTest::keyClicks(editBox(), "ab");  // the edit box's own Ctrl+Z stays its own
    QTest::keyClick(editBox(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editBox()->toPlainText(), "Second");
    EXPECT_EQ(action("mnuRedo")->text(), "Redo Apply (row 2)");
}

TEST_F(Window, ApplyWritesWhatChangedAndKeepsColoursAndPortraitsTheBoxCannotShow) {
    RomBuilder rom;
    rom.addString(bytesOf("\x04\x07\x27"))   // portrait byte 7: "?"
        .addString(bytesOf("\x05\x02\x48"))  // colour argument 2: ""
        .addString(bytesOf("\x20"));         // no colour code: "?"
    const auto path = openRom(rom, "odd.smc");
    const Bytes before = readFile(path);
    for (int row = 0; row < 3; ++row) {
        clickRow(row);
        apply();
    }
    EXPECT_EQ(QStringList({cell(0, 1), cell(1, 3), cell(2, 3)}), QStringList({"?", "", "?"}));
    EXPECT_FALSE(window->isWindowModified());
    QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_TRUE(readFile(path) == before);  // Apply then Save on untouched rows: no byte
    coloured()->click();
    portrait()->setValue(3);
    editBox()->setPlainText("Hello(Pause:5)");
    apply();
    EXPECT_EQ(QStringList({cell(2, 1), cell(2, 2), cell(2, 3)}),
              QStringList({"Hilde", "Hello(Pause:5)", "Yes"}));
    editBox()->setPlainText(QString::fromUtf8("Caf\u00e9 \u20ac"));
    apply();
    EXPECT_EQ(dialogs->callsOf(Kind::Warning).at(0).title, "Apply");
    EXPECT_EQ(cell(2, 2), "Hello(Pause:5)");
}

TEST_F(Window, UnsavedChangesAreNeverLostWithoutAQuestion) {
    const std::tuple<char, Answer, bool> cases[] = {
        // o: Open ROM, then Cancel in its dialog; q: Quit; c: close the window; the
        // answer; whether the file is saved
        {'o', Answer::Cancel, false}, {'o', Answer::Discard, false}, {'o', Answer::Save, true},
        {'q', Answer::Cancel, false}, {'q', Answer::Discard, false}, {'q', Answer::Save, true},
        {'c', Answer::Cancel, false}, {'c', Answer::Discard, false}, {'c', Answer::Save, true}};
    for (const auto& [command, answer, saved] : cases) {
        SCOPED_TRACE(std::string(1, command) + std::to_string(int(answer)));
        if (window->isWindowModified()) {
            dialogs->answerSaveChanges(Answer::Discard);
        }
        const auto path = openRows();
        const Bytes before = readFile(path);
        clickRow(1);
        editBox()->setPlainText("Changed");  // not even applied
        EXPECT_TRUE(window->isWindowModified());
        dialogs->clearCalls();
        dialogs->answerSaveChanges(answer);
        const bool goesOn = answer != Answer::Cancel;
        const bool opens = command == 'o';
        if (opens && goesOn) {
            dialogs->answerOpen(std::nullopt);
        }
        opens            ? action("mnuOpenRom")->trigger()
        : command == 'q' ? action("mnuQuit")->trigger()
                         : (void)window->close();
        ASSERT_EQ(dialogs->callsOf(Kind::Question).size(), 1u);
        EXPECT_EQ(dialogs->calls()[0].text, "Save changes to story.smc?");
        EXPECT_EQ(readFile(path) != before, saved);
        // Discard takes effect only once another file has loaded.
        EXPECT_EQ(list()->model()->rowCount(), 4);
        EXPECT_EQ(editBox()->toPlainText(), "Changed");
        EXPECT_EQ(window->isWindowModified(), !saved);
        EXPECT_EQ(window->isVisible(), !goesOn || opens);
        window->show();
    }
}

TEST_F(Window, TheBudgetPanelCountsTheEditBoxAsIfApplied) {
    openRows();
    EXPECT_EQ(budgetText(), "46 / 28,095 bytes");
    RomBuilder full;  // one string of 28,094 bytes and its terminator: exactly full
    full.addString(Bytes(kTextRegionLength - 1, 0x20));
    const auto fullFile = openRom(full, "full.smc");
    const Bytes before = readFile(fullFile);
    EXPECT_EQ(budgetText(), "28,095 / 28,095 bytes");
    caretAt(0);
    QTest::keyClicks(editBox(), "x");
    EXPECT_EQ(budgetText(), "28,096 / 28,095 bytes: 1 byte over");
    EXPECT_NE(widget<QLabel>("sbBudget")->styleSheet(), "");
    QTest::keyClick(editBox(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(dialogs->calls().back().text.contains("1 byte too long"))
        << dialogs->calls().back().text;
    EXPECT_TRUE(readFile(fullFile) == before);
    QTest::keyClick(editBox(), Qt::Key_Backspace);  // exactly full again: saved
    QTest::keyClick(editBox(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(window->isWindowModified());
    editBox()->setPlainText("(Pause:x)");
    EXPECT_EQ(budgetText(), "Row 1 cannot be saved");
    editBox()->setPlainText("A");
    EXPECT_EQ(budgetText(), "2 / 28,095 bytes");
    EXPECT_EQ(widget<QLabel>("sbBudget")->styleSheet(), "");
}

TEST_F(Window, FilesOpenFromTheRecentListByDropAndByTheCommandLine) {
    const auto story = openRows();
    const auto other = romWithRows({{1, "No", "Other"}}).writeTo(dir.path(), "other.smc");
    drop(other);
    EXPECT_EQ(window->romPath(), other.string());
    EXPECT_TRUE(window->openRom(QString::fromStdString(story.string())));
    QMenu* recent = widget<QMenu>("mnuRecentRoms");
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_EQ(recent->actions()[0]->text(), "&1 story.smc");
    recent->actions()[1]->trigger();
    EXPECT_EQ(cell(0, 2), "Other");
    std::filesystem::remove(story);
    recent->actions()[1]->trigger();
    EXPECT_TRUE(dialogs->callsOf(Kind::Warning).at(0).text.contains("no longer exists"));
    EXPECT_EQ(recent->actions().size(), 1);
    // A size is remembered as it was, unless the screen cannot hold it (the
    // offscreen screen is 800 x 600): then the window takes what the screen has.
    const QSize room = window->screen()->availableGeometry().size();
    QWidget* closing = window.get();
    std::vector<std::unique_ptr<frmMain>> again;
    for (const QSize size : {QSize(700, 500), QSize(1400, 1000)}) {
        closing->resize(size);
        closing->close();
        again.push_back(std::make_unique<frmMain>(
            WindowServices{std::make_unique<ScriptedDialogs>(),
                           {},
                           {},
                           QString::fromStdString((dir.path() / "settings.ini").string()),
                           {}}));
        EXPECT_EQ(again.back()->size(), size.boundedTo(room - QSize(8, 32)));
        EXPECT_EQ(again.back()->findChild<QMenu*>("mnuRecentRoms")->actions().size(), 1);
        closing = again.back().get();
        closing->show();
    }
}

TEST_F(Window, TablesAndPatchesGoOutAndComeInThroughTheFileMenu) {
    const auto story = openRows();
    const auto original = dir.path() / "original.smc";
    std::filesystem::copy_file(story, original);
    const auto po = dir.path() / "story.po";
    dialogs->answerSave(QString::fromStdString(po.string()), "JSON table (*.json)");
    action("mnuExportTable")->trigger();  // the name's extension wins over the filter
    EXPECT_TRUE(readText(po).starts_with("msgid \"\""));
    for (const char* csv : {"Number,Text\n2,a-b\n9,x\n", "Number,Text\r\n2,Changed\r\n"}) {
        writeFile(dir.path() / "in.csv", bytesOf(csv));
        dialogs->answerOpen(QString::fromStdString((dir.path() / "in.csv").string()));
        action("mnuImportTable")->trigger();
    }
    const auto warnings = dialogs->callsOf(Kind::Warning);
    ASSERT_EQ(warnings.size(), 1u);  // the first: refused as a whole
    EXPECT_TRUE(warnings[0].text.contains("2 rows cannot be taken in")) << warnings[0].text;
    EXPECT_EQ(cell(1, 2), "Changed");
    EXPECT_EQ(statusText(), "1 row changed");
    // A patch describes the file as saved: the window offers to save first.
    const auto ips = dir.path() / "fan.ips";
    dialogs->answerSaveChanges(Answer::Save);
    dialogs->answerOpen(QString::fromStdString(original.string()));
    dialogs->answerSave(QString::fromStdString(ips.string()), "BPS patch (*.bps)");
    action("mnuCreatePatch")->trigger();
    ASSERT_EQ(dialogs->callsOf(Kind::Question).size(), 1u);
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(ApplyPatch(readFile(ips), readFile(original)), readFile(story));
    EXPECT_TRUE(statusText().startsWith("Patch written: ")) << statusText();
    action("mnuCreatePatch")->trigger();  // nothing to save now; the original is remembered
    EXPECT_EQ(dialogs->calls().back().defaultText, QString::fromStdString(original.string()));
}

class SaveFromWindow : public WindowTest {
  protected:
    void SetUp() override {
        romFile = openRom(
            romWithRows(
                {{0, "No", "Hello(return)there"}, {3, "Yes", "Hi(Pause:5)!"}, {-1, "No", "Bye"}}),
            "story.smc");
        before = readFile(romFile);
        dialogs->clearCalls();
    }
    // The file holds the core's layout of the list's rows, and the bytes outside
    // the text areas as they were.
    void expectSavedRows(const std::filesystem::path& file) {
        Bytes expected = before;
        ApplyLaidOutText(expected, LayOutRows(window->findChild<StringTableModel*>()->rows()));
        EXPECT_TRUE(readFile(file) == expected) << file;
    }
    void applyText(int row, const QString& text) {
        clickRow(row);
        editBox()->setPlainText(text);
        apply();
    }

    std::filesystem::path romFile;
    Bytes before;
};

TEST_F(SaveFromWindow, CtrlSAndSaveAsCopyTakeTheEditBoxAlongAndClearTheMark) {
    clickRow(1);
    editBox()->setPlainText("Longer text(Pause:7)(return)now");  // not applied
    const QString pointerAtLoad = cell(2, 4);
    QStringList shown;
    recordStatus(shown);
    QTest::keyClick(editBox(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(dialogs->calls().empty());
    expectSavedRows(romFile);
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(cell(2, 4), pointerAtLoad);  // the list keeps the load-time pointers
    EXPECT_EQ(shown.value(0), "Saving ROM: 0%");
    EXPECT_EQ(shown.last(), "Saving ROM: 100%");
    EXPECT_EQ(statusText(), clockText());
    EXPECT_EQ(cell(1, 2), "Longer text(Pause:7)(return)now");
    before = readFile(romFile);
    clickRow(0);
    editBox()->setPlainText("Copied text");
    QTest::keyClick(editBox(), Qt::Key_R, Qt::ControlModifier);
    const auto copy = dir.path() / "story Hack.smc";
    EXPECT_EQ(cell(0, 2), "Copied text");
    expectSavedRows(copy);
    EXPECT_EQ(statusText(), "Saved a copy as story Hack.smc");
    EXPECT_TRUE(readFile(romFile) == before);
    EXPECT_EQ(window->romPath(), copy.string());
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit - story Hack.smc[*]");
    EXPECT_FALSE(window->isWindowModified());
}

TEST_F(SaveFromWindow, ARefusalChangesNoFileAndLandsOnTheRowAtFault) {
    static const Reviews kNoReviews;  // the window's export carries notes and states
    std::filesystem::create_directory(dir.path() / "story Hack.smc");  // no copy can go there
    const auto kept = dir.path() / "kept.json";
    dialogs->answerYesNo(true);  // the offer to keep the changes in a table elsewhere
    dialogs->answerSave(QString::fromStdString(kept.string()));
    action("mnuSaveAs")->trigger();
    EXPECT_EQ(dialogs->calls().at(0).kind, Kind::YesNo);
    EXPECT_EQ(dialogs->calls().at(0).title, "Save As Copy");
    EXPECT_TRUE(dialogs->calls().at(0).text.contains("folder"));
    const Bytes table = readFile(kept);
    EXPECT_EQ(std::string(table.begin(), table.end()),
              TableToText(TableFormat::Json, window->findChild<StringTableModel*>()->rows(),
                          TableContext{{}, nullptr, &kNoReviews}));
    applyText(2, "Bad(Pause:x)");
    EXPECT_EQ(list()->model()->index(2, 2).data(Qt::ToolTipRole).toString(),
              "Cannot be saved: character 4: \"(Pause:x)\" has no number from 0 to 254\n"
              "Changed since the file was loaded or saved");
    clickRow(1);
    action("mnuSaveRom")->trigger();
    ASSERT_EQ(dialogs->calls().size(), 3u);
    EXPECT_EQ(dialogs->calls()[2].title, "Save ROM");
    EXPECT_EQ(dialogs->calls()[2].text,
              "Row 3, character 4: \"(Pause:x)\" has no number from 0 to 254");
    EXPECT_TRUE(readFile(romFile) == before);
    EXPECT_EQ(window->romPath(), romFile.string());
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(caret(), 3);
    EXPECT_TRUE(editBox()->hasFocus());
}

}  // namespace
}  // namespace qm::testing
