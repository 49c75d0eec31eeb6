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

/// The window's caption before a ROM image is open, and the title of its questions.
inline const QString kCaption = QStringLiteral("Quillmoor Text Edit");

class AppSettings;
class CommandRunner;
class EntryEditor;
class FindReplace;
class RecentRomsMenu;
class RomSession;
class RowList;
class StatusPanels;
enum class Settle;

/// What the window uses from outside; each has a default for the real program.
struct WindowServices {
    std::unique_ptr<Dialogs> dialogs;  // null: the real Qt dialogs
    QString portraitFolder;            // empty: the program's folder, else share/
    std::function<QTime()> clock;      // null: the system clock
    QString settingsFile;              // empty: the user's settings
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
    void mnuExportTable_Click();
    void mnuImportTable_Click();
    void mnuCreatePatch_Click();
    /// The folder and name to propose for a file made from the open ROM image.
    QString besideRom(const QString& extension) const;
    void mnuCompareOriginal_Click();
    void mnuCloseOriginal_Click();
    /// Opens the original at path; false when it cannot be opened (a message says why).
    bool openOriginal(const QString& path);
    /// Opens the original remembered for the open ROM image, if any.
    void reopenOriginal();
    /// The list, the editor and the menus follow an original opened or closed.
    void showOriginal(bool open);

    // frmMain_edit.cpp: the list and the editor, Apply and Undo, the jumps,
    // reverts, identical rows and the Insert menu.
    /// Loads row (0-based) into the editor.
    void loadRow(int row);
    /// The user moved the list to row: it loads, or the row question comes.
    void lvText_SelectionChanged(int row);
    /// The question for a move the list made away from a row with unapplied edits;
    /// asked once the list has finished handling its key or click.
    void confirmRowChange();
    /// Settles the edit box as a command needs it; false: the command must not run.
    bool settle(Settle how);
    /// Asks "Apply the changes to row N?" when the editor holds unapplied edits:
    /// Apply applies them, Discard puts the row back into the editor. Cancel also
    /// for a refused Apply; Discard when there was nothing to ask.
    Dialogs::ApplyChangesAnswer settleEditor();
    /// Whether the editor may leave its row, as settleEditor decides.
    bool leaveEditedRow();
    /// Leaves the edited row (asking first) and shows row; false when the user stayed.
    bool goToRow(int row);
    /// Undo or redo of the table: unapplied edits are settled first, and Apply
    /// there is the step itself.
    void undoTable(bool redo);
    /// After an undo or redo: the row it changed, in the list and the editor.
    void showChangedRow(int row);
    /// The button "Apply": applies, then offers the same to identical rows.
    void cmdApply_Click();
    /// Writes the editor into its row as one undo step; false when refused.
    bool applyEditor();
    /// Applies what the editor holds, if anything; false when Apply was refused.
    bool applyEditBox();
    /// After Apply: offers row's content to the untranslated rows that share its
    /// original.
    void offerIdenticalRows(int row);
    void mnuApplyIdentical_Click();
    void mnuFindNextUntranslated_Click();
    void mnuFindNextProblem_Click();
    /// Selects the row a jump found, or says that there is none.
    void jumpTo(const RowJump& jump, const QString& nothing);
    void mnuRevertOriginal_Click();
    void mnuRevertFile_Click();
    void insertToken(InsertKind kind);
    /// Loads the row a save refused and puts the caret at the offending character.
    void showRefusedRow(int row, int position);

    std::unique_ptr<Ui::frmMain> ui;
    std::unique_ptr<Dialogs> dialogs_;
    std::unique_ptr<AppSettings> settings_;
    RomSession* session_ = nullptr;
    StatusPanels* status_ = nullptr;
    CommandRunner* commands_ = nullptr;
    RowList* list_ = nullptr;
    FindReplace* find_ = nullptr;
    RecentRomsMenu* recent_ = nullptr;
};

}  // namespace qm
