#pragma once
// The editor's only window: the list of strings, the entry editor with its live
// preview, the menus and the status bar. Handlers are named after the control
// and event they serve; the deciding logic lives in the core.

#include <QMainWindow>
#include <QString>
#include <QTime>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "commands/insert.hpp"
#include "dialogs.h"
#include "types.hpp"

class QKeyEvent;

namespace Ui {
class frmMain;
}

namespace qm {

class StatusPanels;
class StringTableModel;

/// What the window uses from outside; each has a default for the real program.
struct WindowServices {
    std::unique_ptr<Dialogs> dialogs;  // null: the real Qt dialogs
    QString portraitFolder;            // empty: the program's folder
    std::function<QTime()> clock;      // null: the system clock
};

class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit frmMain(WindowServices services = {}, QWidget* parent = nullptr);
    ~frmMain() override;

    /// Opens the ROM image at path as File > Open ROM... does once a file is chosen.
    void openRom(const QString& path);
    /// The open ROM image's path, empty before the first successful load.
    const std::string& romPath() const { return RomPath; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class LongWork;

    // frmMain.cpp: construction, in the order the constructor runs it, and wiring.
    void setUpWindow();
    void setUpFonts();
    void setUpList();
    void setUpStatusBar(std::function<QTime()> clock);
    void nameSeparators();
    void connectFileMenu();
    void connectCommandMenus();
    void connectEditor();
    void installKeyHandling();
    bool isWindowShortcut(const QKeyEvent* event) const;
    bool filterListEvent(QObject* watched, QEvent* event);

    // frmMain_file.cpp: the File menu.
    void mnuOpenRom_Click();
    void mnuSaveRom_Click();
    void mnuSaveAs_Click();
    void mnuQuit_Click();
    void enableEditing();
    bool runSave(const QString& title, const std::function<void(const ProgressFn&)>& save);
    void showRomPathInCaption();

    // frmMain_editor.cpp: entry selection and editing, and the live preview.
    void UpdateTextEdit();
    void lvText_KeyDown();
    void lvText_KeyUp();
    void lvText_KeyPress();
    void lvText_Click();
    void cmdApply_Click();
    void cmdAdd_Click();
    void chkColoured_Click();
    void hsPortrait_Change();
    void txtText_Change();
    std::optional<int> selectedRow() const;
    void selectRow(int row);
    void showPortrait(int number);
    /// Loads the row a save refused and puts the caret at the offending character.
    void showRefusedRow(int row, int position);

    // frmMain_commands.cpp: the Insert and Find menus.
    void mnuInsertPause_Click();
    void mnuInsertTextSpeed_Click();
    void mnuInsertAnimation_Click();
    void mnuInsertReturn_Click();
    void mnuFindFind_Click();
    void mnuFindFindNext_Click();
    void insertToken(InsertKind kind);

    std::unique_ptr<Ui::frmMain> ui;
    std::unique_ptr<Dialogs> dialogs_;
    StringTableModel* model_ = nullptr;
    StatusPanels* status_ = nullptr;
    QString portraitFolder_;

    // The open ROM image; its rows live in model_.
    std::string RomPath;
    // Find's text, kept between Find and Find Next.
    QString SearchText;
    // A load or save is running: no second command may start.
    bool busy_ = false;
};

}  // namespace qm
