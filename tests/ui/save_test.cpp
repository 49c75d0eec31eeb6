// File > Save ROM and File > Save As Copy from the window: what lands in the
// file, and refusals that leave it as it was.
#include <QTest>

#include "save/writer.hpp"
#include "status_panels.h"
#include "window_fixture.h"

namespace qm::testing {
namespace {

class SaveFromWindow : public WindowTest {
  protected:
    void SetUp() override {
        romFile = openRom(
            romWithRows(
                {{0, "No", "Hello(return)there"}, {3, "Yes", "Hi(Pause:5)!"}, {-1, "No", "Bye"}}),
            "story.smc");
        before = readFile(romFile);
    }

    // What the file must hold after saving the list's rows: the core's layout.
    void expectSavedRows(const std::filesystem::path& file) {
        std::vector<StringEntry> rows;
        for (int r = 0; r < list()->model()->rowCount(); ++r) {
            rows.push_back({cell(r, 0).toStdString(), cell(r, 1).toStdString(),
                            cell(r, 2).toStdString(), cell(r, 3).toStdString(),
                            cell(r, 4).toStdString()});
        }
        const LaidOutText expected = LayOutRows(rows);
        const Bytes saved = readFile(file);
        ASSERT_EQ(saved.size(), before.size());
        EXPECT_TRUE(std::equal(expected.PointerTable.begin(), expected.PointerTable.end(),
                               saved.begin() + kPointerTableOffset));
        EXPECT_TRUE(std::equal(expected.text.begin(), expected.text.end(),
                               saved.begin() + kTextRegionOffset));
        EXPECT_TRUE(
            std::equal(before.begin(), before.begin() + kPointerTableOffset, saved.begin()));
        EXPECT_TRUE(std::equal(before.begin() + kTextRegionEnd, before.end(),
                               saved.begin() + kTextRegionEnd));
    }

    void applyText(int row, const QString& text) {
        clickRow(row);
        editBox()->setPlainText(text);
        widget<QPushButton>("cmdApply")->click();
    }

    std::filesystem::path romFile;
    Bytes before;
};

TEST_F(SaveFromWindow, SaveRomWritesTheAppliedRowsIntoTheFile) {
    applyText(1, "Longer text(Pause:7)(return)now");
    const QString pointerAtLoad = cell(2, 4);
    action("mnuSaveRom")->trigger();
    EXPECT_EQ(dialogs->calls().size(), 1u);  // only the Open dialog
    expectSavedRows(romFile);
    EXPECT_NE(readFile(romFile), before);
    EXPECT_EQ(statusText(), QLocale().toString(QTime(9, 41), QLocale::ShortFormat));
    EXPECT_EQ(cell(2, 4), pointerAtLoad);  // the load-time pointer stays on show
}

TEST_F(SaveFromWindow, ShowsItsProgressWhileItSaves) {
    QStringList shown;
    QObject::connect(window->findChild<StatusPanels*>(), &StatusPanels::textShown,
                     [&](const QString& text) { shown << text; });
    action("mnuSaveRom")->trigger();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.first(), "Saving ROM: 0%");
    EXPECT_TRUE(shown.contains("Saving ROM: 10.%"));
    EXPECT_EQ(shown.last(), "Saving ROM: 100%");
    EXPECT_EQ(statusText(), QLocale().toString(QTime(9, 41), QLocale::ShortFormat));
}

TEST_F(SaveFromWindow, CtrlSFromTheEditBoxSaves) {
    applyText(0, "Changed");
    caretAt(0);
    QTest::keyClick(editBox(), Qt::Key_S, Qt::ControlModifier);
    expectSavedRows(romFile);
}

TEST_F(SaveFromWindow, ARefusedSaveSaysWhyAndLeavesTheFileAlone) {
    applyText(2, "Bad(Pause:x)");
    action("mnuSaveRom")->trigger();
    ASSERT_EQ(dialogs->calls().size(), 2u);
    EXPECT_EQ(dialogs->calls()[1].kind, ScriptedDialogs::Kind::Warning);
    EXPECT_EQ(dialogs->calls()[1].title, "Save ROM");
    EXPECT_TRUE(dialogs->calls()[1].text.contains("Row 3"))
        << dialogs->calls()[1].text.toStdString();
    EXPECT_EQ(readFile(romFile), before);
    EXPECT_EQ(statusText(), QLocale().toString(QTime(9, 41), QLocale::ShortFormat));
}

TEST_F(SaveFromWindow, SavingAnEmptiedListIsRefused) {
    openWithAnswer(std::nullopt);
    action("mnuSaveRom")->trigger();
    ASSERT_EQ(dialogs->calls().size(), 3u);
    EXPECT_EQ(dialogs->calls()[2].title, "Save ROM");
    EXPECT_EQ(readFile(romFile), before);
}

TEST_F(SaveFromWindow, SaveAsCopyWritesIntoTheCopyAndMakesItTheOpenFile) {
    applyText(0, "Copied text");
    action("mnuSaveAs")->trigger();
    const auto copy = dir.path() / "story Hack.smc";
    EXPECT_EQ(readFile(romFile), before);
    expectSavedRows(copy);
    EXPECT_EQ(window->romPath(), copy.string());
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit - story Hack.smc");
    action("mnuSaveAs")->trigger();
    expectSavedRows(dir.path() / "story Hack Hack.smc");
}

TEST_F(SaveFromWindow, SaveAsCopyRefusedByTheEncoderNamesItsCommand) {
    applyText(0, "(Pause:300)");
    action("mnuSaveAs")->trigger();
    ASSERT_EQ(dialogs->calls().size(), 2u);
    EXPECT_EQ(dialogs->calls()[1].title, "Save As Copy");
    EXPECT_EQ(readFile(romFile), before);
    // Refused before any copy was made: no copy, and the open file is unchanged.
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "story Hack.smc"));
    EXPECT_EQ(window->romPath(), romFile.string());
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit - story.smc");
}

TEST_F(SaveFromWindow, AFailedCopyKeepsThePathAndTheCaption) {
    std::filesystem::create_directory(dir.path() / "story Hack.smc");
    action("mnuSaveAs")->trigger();
    ASSERT_EQ(dialogs->calls().size(), 2u);
    EXPECT_EQ(dialogs->calls()[1].title, "Save As Copy");
    EXPECT_EQ(window->romPath(), romFile.string());
    EXPECT_EQ(window->windowTitle(), "Quillmoor Text Edit - story.smc");
    EXPECT_EQ(readFile(romFile), before);
}

}  // namespace
}  // namespace qm::testing
