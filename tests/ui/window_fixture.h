#pragma once
// A window under test: synthetic ROM images in a temporary folder, portrait
// bitmaps of one plain colour each (so a test can tell which one is shown),
// dialogs answered in advance and a fixed clock.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextEdit>
#include <QTreeView>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "fixtures/rom_builder.hpp"
#include "frmMain.h"
#include "preview_box.h"
#include "rom/string_table.hpp"
#include "scripted_dialogs.h"

/// Lets GoogleTest print a QString in a failure message.
inline std::ostream& operator<<(std::ostream& os, const QString& text) {
    return os << text.toStdString();
}

namespace qm::testing {

/// A row as the encoder writes it: portrait number, "Yes"/"No", markup text.
struct RomRow {
    std::int16_t portrait;
    std::string coloured;
    std::string text;
};

/// An image whose strings encode the given rows, in order.
RomBuilder romWithRows(const std::vector<RomRow>& rows);

/// The colour of portrait n's test bitmap.
QColor portraitTestColour(int number);

/// One letter per preview character for its colour: W white, C the coloured
/// entry colour, R red, ? anything else; "\n" between lines.
QString previewColours(const PreviewBox* preview);

/// The status panel's text while it shows the fixed clock's time.
QString clockText();

class WindowTest : public ::testing::Test {
  protected:
    WindowTest();
    /// A new window with the same folders, settings and recovery files.
    void startWindow();

    /// Writes the image into the temporary folder and opens it through the menu.
    std::filesystem::path openRom(const RomBuilder& rom, const std::string& name = "game.smc");
    /// Runs File > Open ROM... with the given dialog answer.
    void openWithAnswer(const std::optional<QString>& answer);

    template <typename T>
    T* widget(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAction* action(const char* name) const { return widget<QAction>(name); }
    QTreeView* list() const { return widget<QTreeView>("lvText"); }
    QPlainTextEdit* editBox() const { return widget<QPlainTextEdit>("txtText"); }
    PreviewBox* preview() const { return widget<PreviewBox>("txtText2"); }
    QCheckBox* coloured() const { return widget<QCheckBox>("chkColoured"); }
    QScrollBar* portrait() const { return widget<QScrollBar>("hsPortrait"); }
    QLabel* picture() const { return widget<QLabel>("imgPortrait"); }
    /// What the message area shows: a notice over the panels, or the message panel.
    QString statusText() const {
        const QString notice = widget<QStatusBar>("sbStatusBar")->currentMessage();
        return notice.isEmpty() ? widget<QLabel>("sbPanel2")->text() : notice;
    }
    QString budgetText() const { return widget<QLabel>("sbBudget")->text(); }
    void apply() const { widget<QPushButton>("cmdApply")->click(); }
    /// Every text the status panel shows from now on is appended to shown.
    void recordStatus(QStringList& shown) const;

    /// The list's text of column c of row r (0-based).
    QString cell(int r, int c) const;
    int selectedRow() const;
    /// The colour at the centre of the shown portrait; invalid when none is shown.
    QColor shownPortraitColour() const;
    /// Clicks row r of the list as a user does, and lets the window answer it.
    void clickRow(int r);
    /// Puts the caret of the edit box at pos and gives it the focus.
    void caretAt(int pos);
    int caret() const { return editBox()->textCursor().position(); }

    TempDir dir;
    std::filesystem::path portraitDir;
    ScriptedDialogs* dialogs = nullptr;  // owned by the window
    std::unique_ptr<frmMain> window;
};

}  // namespace qm::testing
