#pragma once
// The editor's only window. It wires the parts that own the work: the open ROM
// image (RomSession), the entry editor (EntryEditor, fraText), the list under
// its filter (RowList, lvText), Find and Replace (FindReplace), the settings
// (AppSettings) and the one way in for commands (CommandRunner). Handlers are
// named after the control and event they serve; each reads as the steps it
// takes, and the deciding logic lives in the core.

#include <QMainWindow>
#include <QString>
#include <QTime>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "commands/insert.hpp"
#include "dialogs.h"
#include "translation/filter.hpp"

class QKeyEvent;

namespace Ui {
class frmMain;
}

namespace qm {

class AppSettings;
class CommandRunner;
class EntryEditor;
class ExchangeCommands;
class FindReplace;
class RecentRomsMenu;
class RomSession;
class RowList;
class RowNavigator;
class TranslationCommands;
class StatusPanels;
enum class Settle;

/// What the window uses from outside; each has a default for the real program.
struct WindowServices {
    std::unique_ptr<Dialogs> dialogs;  // null: the real Qt dialogs
    QString portraitFolder;            // empty: the program's folder, else share/
    std::function<QTime()> clock;      // null: the system clock
    QString settingsFile;              // empty: the user's settings
    QString recoveryFolder;            // empty: the user's state folder
};

class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit frmMain(WindowServices services = {}, QWidget* parent = nullptr);
    ~frmMain() override;

    /// Opens the ROM image at path, as File > Open ROM... does once a file is
    /// chosen; false when it could not be opened (a message box says why).
    bool openRom(const QString& path);
    /// Asks "Save changes to NAME?" when the table or the edit box holds changes
    /// the file does not; true when the caller may go on (saved, discarded, or
    /// nothing to save).
    bool maybeSaveChanges();
    /// The open ROM image's path, empty before the first successful load.
    const std::string& romPath() const;

  signals:
    /// A ROM image was opened and is shown.
    void romShown();
    /// The user chose to throw away what the file does not hold.
    void changesDiscarded();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // frmMain.cpp: construction, wiring, the window's own events and what the
    // caption and the status bar say.
    void setUpWindow();
    void nameSeparators();
    void connectMenus();
    void connectEditMenu();
    void connectParts();
    /// Test in Emulator, Settings > Emulator..., Fix Header Checksum on Save and
    /// the checksum's panel: the parts that get the table into the game.
    void connectTesting();
    /// The glossary, suggestions and spelling: their panel, keys and menus.
    void connectAssistant();
    void installKeyHandling();
    bool isWindowShortcut(const QKeyEvent* event) const;
    /// A key a text field keeps for itself: undo and redo in the edit box; those
    /// and select all, cut, copy and paste in the filter line.
    bool isFieldsOwnKey(const QObject* watched, const QEvent* event) const;
    void enableEditing();
    void showRomPathInCaption();
    /// Updates the caption's mark, the budget and the counts after any change.
    void showEditState();
    EntryEditor& editor() const;

    // frmMain_file.cpp: the File menu.
    void mnuOpenRom_Click();
    void openRecentRom(const QString& path);
    /// Where the Open dialog starts: the open ROM image's folder, else the last
    /// folder a ROM image was opened from.
    QString openFolder() const;
    void mnuSaveRom_Click();
    void mnuSaveAs_Click();
    void mnuSaveAsTo_Click();
    /// After a copy was saved: it is the open file now.
    void showCopySaved();
    /// Runs a save; a refusal lands on its row, a file that cannot be written
    /// offers to export the table. True when it saved.
    bool runSave(const QString& title, const std::function<void(const ProgressFn&)>& save);
    /// Applies the edit box, then saves; true when nothing is left unsaved.
    bool saveWithEditBox();
    /// Before a write: when another program changed the open file, asks whether
    /// to merge its rows in, overwrite it or cancel; false: cancelled.
    bool settleOtherWriter(const QString& title);
    QString changedOnDisk() const;
    /// Create Patch, after asking to save what the file does not hold yet.
    void mnuCreatePatch_Click();
    /// The list, the editor and the menus follow an original opened or closed.
    void showOriginal(bool open);

    // frmMain_edit.cpp: Apply and the Insert menu.
    /// Settles the edit box as a command needs it; false: the command must not run.
    bool settle(Settle how);
    /// The button "Apply": applies, then offers the same to identical rows.
    void cmdApply_Click();
    void insertToken(InsertKind kind);

    std::unique_ptr<Ui::frmMain> ui;
    std::unique_ptr<Dialogs> dialogs_;
    std::unique_ptr<AppSettings> settings_;
    RomSession* session_ = nullptr;
    StatusPanels* status_ = nullptr;
    CommandRunner* commands_ = nullptr;
    RowList* list_ = nullptr;
    FindReplace* find_ = nullptr;
    RecentRomsMenu* recent_ = nullptr;
    ExchangeCommands* exchange_ = nullptr;
    RowNavigator* navigator_ = nullptr;
    TranslationCommands* translation_ = nullptr;
};

}  // namespace qm
