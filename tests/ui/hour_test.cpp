// A translator's hour in the window: the copy that holds other work, the keys
// of the text fields, a filter that follows the rows, the original in an
// export, the Replace dialog's focus and outcome, and the preview's grid at
// every size.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "window_fixture.h"

namespace qm::testing {
namespace {

using Kind = ScriptedDialogs::Kind;

class Hour : public WindowTest {
  protected:
    void SetUp() override {
        rom = openRom(romWithRows({{0, "No", "Eins"}, {1, "No", "Zwei"}, {2, "No", "Drei"}}),
                      "story.smc");
        dialogs->clearCalls();
    }
    std::filesystem::path rom;
};

TEST_F(Hour, SaveAsCopyAsksBeforeReplacingACopyThatHoldsOtherWork) {
    const auto copy = dir.path() / "story Hack.smc";
    romWithRows({{0, "No", "Other"}, {1, "No", "Work"}, {2, "No", "Drei"}})
        .writeTo(dir.path(), "story Hack.smc");
    const Bytes other = readFile(copy);
    dialogs->answerChoice(1);  // No, the default
    action("mnuSaveAs")->trigger();
    ASSERT_EQ(dialogs->callsOf(Kind::Choice).size(), 1u);
    EXPECT_EQ(dialogs->callsOf(Kind::Choice)[0].text,
              "story Hack.smc already exists and differs in 2 rows. Replace it?");
    EXPECT_TRUE(readFile(copy) == other);
    EXPECT_EQ(window->romPath(), rom.string());
    const auto elsewhere = dir.path() / "elsewhere.smc";
    dialogs->answerChoice(2);  // Save As Copy To...
    dialogs->answerSave(QString::fromStdString(elsewhere.string()));
    action("mnuSaveAs")->trigger();
    EXPECT_TRUE(readFile(copy) == other);
    EXPECT_TRUE(readFile(elsewhere) == readFile(rom));
    EXPECT_EQ(window->romPath(), elsewhere.string());
}

TEST_F(Hour, TextFieldsKeepTheirOwnKeysAndTheFilterFollowsTheRows) {
    auto* filter = widget<QLineEdit>("txtFilter");
    filter->setFocus();
    QTest::keyClicks(filter, "ei");
    QTest::keyClick(filter, Qt::Key_A, Qt::ControlModifier);  // select all, not Animation
    EXPECT_TRUE(dialogs->calls().empty());
    EXPECT_EQ(filter->selectedText(), "ei");
    EXPECT_EQ(editBox()->toPlainText(), "Eins");
    QTest::keyClick(filter, Qt::Key_Escape);
    EXPECT_TRUE(filter->text().isEmpty());
    // An import changes rows' states: a state filter shows them at once.
    widget<QComboBox>("cboFilterState")->setCurrentText("Changed");
    EXPECT_EQ(list()->model()->rowCount(), 1);  // the row in the editor stays
    writeFile(dir.path() / "in.csv", bytesOf("Number,Text\n2,Deux\n3,Trois\n"));
    dialogs->answerOpen(QString::fromStdString((dir.path() / "in.csv").string()));
    action("mnuImportTable")->trigger();
    EXPECT_EQ(list()->model()->rowCount(), 3);
}

TEST_F(Hour, ExportTakesTheOriginalAlongAndReplaceStartsInFindWhat) {
    dialogs->answerOpen(QString::fromStdString(rom.string()));
    action("mnuCompareOriginal")->trigger();
    const auto csv = dir.path() / "out.csv";
    dialogs->answerSave(QString::fromStdString(csv.string()));
    action("mnuExportTable")->trigger();
    EXPECT_TRUE(readText(csv).starts_with(
        "Number,Portrait,Text,Coloured,Pointer Value,Note,State,Original\r\n1,Rosalind,Eins,No,"
        "0004,,,Eins"))
        << readText(csv);
    editBox()->selectAll();
    action("mnuFindReplace")->trigger();
    auto* find = widget<QLineEdit>("txtReplaceFind");
    EXPECT_EQ(widget<QDialog>("dlgReplace")->focusWidget(), find);
    EXPECT_EQ(find->selectedText(), "Eins");
    widget<QLineEdit>("txtReplaceWith")->setText("Un");
    widget<QPushButton>("cmdReplaceAll")->click();
    auto* outcome = widget<QLabel>("lblReplaceOutcome");
    EXPECT_EQ(outcome->text(), "Replaced 1 time in 1 row");
    action("mnuUndo")->trigger();
    EXPECT_TRUE(outcome->text().isEmpty());  // it no longer holds
}

// Every line of 20 characters stands on one row of the grid, whole, at the
// window's smallest and default sizes (and at the scale the run is given).
TEST_F(Hour, ThePreviewDrawsTwentyCharactersALineAtEverySize) {
    editBox()->setPlainText("Der Wind heult ueber(return)das Moor, so weit es");
    for (const QSize size : {window->minimumSizeHint(), QSize(640, 499), QSize(1400, 1000)}) {
        SCOPED_TRACE(size.width());
        window->resize(size);
        QApplication::processEvents();
        preview()->grab();
        std::map<int, std::vector<QRect>> rows;  // by the cells' top
        for (const PreviewBox::Glyph& glyph : preview()->paintedGlyphs()) {
            rows[glyph.cell.top()].push_back(glyph.cell);
            EXPECT_TRUE(preview()->rect().contains(glyph.cell));
            EXPECT_LE(glyph.ink.width(), glyph.cell.width() + 1);  // the glyph fits its cell
        }
        ASSERT_EQ(rows.size(), 2u);
        for (const auto& [top, cells] : rows) {
            EXPECT_EQ(cells.size(), 20u);
        }
        EXPECT_EQ(previewColours(preview()), QString(20, u'W') + "\n" + QString(20, u'W'));
    }
}

}  // namespace
}  // namespace qm::testing
