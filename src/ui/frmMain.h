#pragma once
// The editor's only window: the list of strings, the entry editor with its live
// preview, the menus and the status bar. Handlers are named after the control
// and event they serve; the deciding logic lives in the core.

#include <QColor>
#include <QMainWindow>
#include <QString>
#include <QTime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands/insert.hpp"
#include "dialogs.h"
#include "rom/layout.hpp"
#include "rom/reader.hpp"

class QKeyEvent;
class QMenu;

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

    /// The open ROM image's path, empty before the first successful load.
    const std::string& romPath() const { return RomPath; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class LongWork;

    // Construction, in the order the constructor runs it.
    void setUpWindow();
    void setUpFonts();
    void setUpList();
    void setUpPreview();
    void setUpStatusBar(std::function<QTime()> clock);
    void nameSeparators();
    void connectFileMenu();
    void connectCommandMenus();
    void connectEditor();
    void installKeyHandling();

    // File menu.
    void mnuOpenRom_Click();
    void mnuSaveRom_Click();
    void mnuSaveAs_Click();
    void mnuQuit_Click();
    void loadRom(const QString& path);
    void fillFromRomText(const QString& path, const ProgressFn& progress);
    void enableEditing();
    bool runSave(const QString& title, const std::function<void(const ProgressFn&)>& save);
    void showRomPathInCaption();

    // Insert and Find menus.
    void mnuInsertPause_Click();
    void mnuInsertTextSpeed_Click();
    void mnuInsertAnimation_Click();
    void mnuInsertReturn_Click();
    void mnuFindFind_Click();
    void mnuFindFindNext_Click();
    void insertToken(InsertKind kind);

    // Entry selection and editing.
    void UpdateTextEdit();
    void lvText_KeyDown();
    void lvText_KeyUp();
    void lvText_KeyPress();
    void lvText_Click();
    void cmdApply_Click();
    void cmdAdd_Click();
    void chkColoured_Click();
    void hsPortrait_Change();
    std::optional<int> selectedRow() const;
    void selectRow(int row);
    void showPortrait(int number);

    // Live preview and the edit box's keys.
    void txtText_Change();
    bool txtText_KeyDown(QKeyEvent* event);
    void txtText_KeyUp();
    void showPreviewOf(const QString& markup);
    void colourWholePreview();
    void FixPreview();
    bool removeTokenAtCaret();
    bool filterEditBoxKey(QEvent* event);
    bool filterListEvent(QObject* watched, QEvent* event);
    bool isWindowShortcut(const QKeyEvent* event) const;

    std::unique_ptr<Ui::frmMain> ui;
    std::unique_ptr<Dialogs> dialogs_;
    StringTableModel* model_ = nullptr;
    StatusPanels* status_ = nullptr;
    QString portraitFolder_;

    // The text store of the open ROM image.
    std::string RomPath;
    RomText romText_;
    std::vector<std::string> RomStrings;

    // Find's text, kept between Find and Find Next.
    QString SearchText;

    // Key handling of the edit box: DeleteState 0 after any other key, 1 while a
    // Delete is handled, 2 after; the caret at that Delete; and whether the keys'
    // own actions are held back until the key goes up.
    int DeleteState = 0;
    int DeleteCaret = 0;
    bool editLocked_ = false;

    // The preview's base format: the entry colour, and 14 points once a row is loaded.
    QColor previewColour_;
    std::optional<qreal> previewPointSize_;

    bool busy_ = false;
};

}  // namespace qm
