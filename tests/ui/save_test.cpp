// File > Save ROM and File > Save As Copy from the window: what lands in the
// file, the unsaved-changes mark, and refusals that leave every file as it was
// and land on the row at fault.
#include <QTest>
#include <functional>

#include "save/writer.hpp"
#include "string_table_model.h"
#include "window_fixture.h"

namespace qm::testing {
namespace {

class SaveFromWindow : public WindowTest {
  protected:
    void SetUp() override { reopen(); }
    void reopen() {
        if (window->isWindowModified()) {
            dialogs->answerSaveChanges(Dialogs::SaveChangesAnswer::Discard);
        }
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

TEST_F(SaveFromWindow, CtrlSWritesTheAppliedRowsShowsItsProgressAndClearsTheMark) {
    applyText(1, "Longer text(Pause:7)(return)now");
    EXPECT_TRUE(window->isWindowModified());
    const QString pointerAtLoad = cell(2, 4);
    QStringList shown;
    recordStatus(shown);
    caretAt(0);
    QTest::keyClick(editBox(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(dialogs->calls().empty());
    expectSavedRows(romFile);
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(cell(2, 4), pointerAtLoad);  // the list keeps the load-time pointers
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.first(), "Saving ROM: 0%");
    EXPECT_EQ(shown.last(), "Saving ROM: 100%");
    EXPECT_EQ(statusText(), clockText());
}

TEST_F(SaveFromWindow, SaveAsCopyWritesANewCopyEachTimeAndOpensIt) {
    applyText(0, "Copied text");
    for (const char* name : {"story Hack.smc", "story Hack Hack.smc"}) {
        SCOPED_TRACE(name);
        action("mnuSaveAs")->trigger();
        expectSavedRows(dir.path() / name);
        EXPECT_EQ(window->romPath(), (dir.path() / name).string());
        EXPECT_EQ(window->windowTitle(), QString("Quillmoor Text Edit - ") + name + "[*]");
        EXPECT_FALSE(window->isWindowModified());
    }
    EXPECT_TRUE(readFile(romFile) == before);
}

TEST_F(SaveFromWindow, RefusalsSayWhyLeaveEveryFileAsItWasAndLandOnTheRow) {
    const auto copy = dir.path() / "story Hack.smc";
    const struct {
        const char* why;
        std::function<void()> prepare;
        const char* command;
        QString title;
        const char* says;
        int row;  // where the editor lands; -1: stays
        int caret;
    } cases[] = {
        {"bad token", [&] { applyText(2, "Bad(Pause:x)"); }, "mnuSaveRom", "Save ROM",
         "Row 3, character 4: \"(Pause:x)\"", 2, 3},
        {"value too big", [&] { applyText(0, "ab(Pause:300)"); }, "mnuSaveAs", "Save As Copy",
         "Row 1, character 3", 0, 2},
        {"emptied list", [&] { openWithAnswer(std::nullopt); }, "mnuSaveRom", "Save ROM",
         "nothing to save", -1, 0},
        {"copy blocked", [&] { std::filesystem::create_directory(copy); }, "mnuSaveAs",
         "Save As Copy", "folder", -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        reopen();
        c.prepare();
        clickRow(1);
        dialogs->clearCalls();
        action(c.command)->trigger();
        ASSERT_EQ(dialogs->calls().size(), 1u);
        EXPECT_EQ(dialogs->calls()[0].title, c.title);
        EXPECT_TRUE(dialogs->calls()[0].text.contains(c.says)) << dialogs->calls()[0].text;
        EXPECT_TRUE(readFile(romFile) == before);
        EXPECT_FALSE(std::filesystem::is_regular_file(copy));
        EXPECT_EQ(window->romPath(), romFile.string());
        if (c.row >= 0) {
            EXPECT_EQ(selectedRow(), c.row);
            EXPECT_EQ(caret(), c.caret);
            EXPECT_TRUE(editBox()->hasFocus());
        }
    }
}

}  // namespace
}  // namespace qm::testing
