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
#include <vector>

#include "commands/insert.hpp"
#include "dialogs.h"
#include "save/budget.hpp"
#include "translation/filter.hpp"
#include "translation/replace.hpp"
#include "types.hpp"

class QKeyEvent;
class QSettings;

namespace Ui {
class frmMain;
}

namespace qm {

/// The window's caption before a ROM image is open, and the title of its questions.
inline const QString kCaption = QStringLiteral("Quillmoor Text Edit");

class ReplaceDialog;
class RowFilterModel;
class StatusPanels;
class StringTableModel;
class TableHistory;
struct StringEntry;

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
    const std::string& romPath() const { return RomPath; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    class LongWork;

    // frmMain.cpp: construction, in the order the constructor runs it, wiring,
    // and the window's own events.
    void setUpWindow();
    void setUpFonts();
    void setUpList();
    void setUpStatusBar(std::function<QTime()> clock);
    void nameSeparators();
    void connectFileMenu();
    void connectCommandMenus();
    void setUpEditMenu();
    void connectEditor();
    void installKeyHandling();
    bool isWindowShortcut(const QKeyEvent* event) const;
    /// Ctrl+Z, Ctrl+Y or Ctrl+Shift+Z in the edit box: its own undo, not the table's.
    bool isTypingUndo(const QObject* watched, const QEvent* event) const;

    // frmMain_file.cpp: the File menu, recent files and the unsaved-changes mark.
    void mnuOpenRom_Click();
    void mnuSaveRom_Click();
    void mnuSaveAs_Click();
    void mnuQuit_Click();
    /// Where the Open dialog starts: the open ROM image's folder, else the last
    /// folder a ROM image was opened from.
    QString openFolder() const;
    void enableEditing();
    bool runSave(const QString& title, const std::function<void(const ProgressFn&)>& save);
    void showRomPathInCaption();
    /// Applies the edit box, then saves; true when nothing is left unsaved.
    bool saveWithEditBox();
    void rememberRecentRom(const QString& path);
    void showRecentRoms();
    void openRecentRom(const QString& path);

    // frmMain_exchange.cpp: tables in and out, and patches.
    void mnuExportTable_Click();
    void mnuImportTable_Click();
    void mnuCreatePatch_Click();
    /// The folder and name to propose for a file made from the open ROM image.
    QString besideRom(const QString& extension) const;

    // frmMain_translation.cpp: an original ROM image to compare with, the jumps
    // to the rows that need work, reverts and identical rows.
    void mnuFindNextUntranslated_Click();
    void mnuFindNextProblem_Click();
    /// Selects the row a jump found, or says that there is none.
    void jumpTo(const RowJump& jump, const QString& nothing);
    void mnuRevertOriginal_Click();
    void mnuRevertFile_Click();
    /// Puts portrait, colour and text into the editor, not applied; an Apply
    /// then is the step named step.
    void revertEditor(std::int16_t portrait, Colour coloured, const std::string& text,
                      const QString& step);
    void mnuApplyIdentical_Click();
    /// After Apply: offers row's content to the untranslated rows that share its
    /// original.
    void offerIdenticalRows(int row);
    void applyToRows(int row, const std::vector<std::size_t>& rows);
    void mnuCompareOriginal_Click();
    void mnuCloseOriginal_Click();
    /// Loads the original at path and shows it; false when it cannot be opened
    /// (a message box says why).
    bool openOriginal(const QString& path);
    /// Opens the original remembered for the open ROM image, if any.
    void reopenOriginal();
    /// Remembers path as the open ROM image's original; empty forgets it.
    void rememberOriginal(const QString& path);
    /// Compares with original's rows from now on; none: no comparison.
    void showOriginal(std::vector<StringEntry> original);
    /// The filter line or its state choice changed: the list shows the rows
    /// that pass, the selected one kept where it still passes.
    void txtFilter_Change();

    // frmMain_replace.cpp: Find > Replace... across the table.
    void mnuFindReplace_Click();
    /// The rows the dialog's scope names, as rows of the table.
    std::vector<std::size_t> replaceScope() const;
    void replaceFindNext();
    void replaceOne();
    void replaceAll();
    /// Selects match's row and, in the edit box, the match.
    void showMatch(const TextMatch& match);

    // frmMain_editor.cpp: entry selection and editing, the live preview, the
    // budget panel and the unsaved-changes mark.
    void UpdateTextEdit();
    /// Loads row (0-based) into the editor.
    void loadRow(int row);
    void lvText_SelectionChanged();
    /// The question for a move the list made away from a row with unapplied edits;
    /// asked once the list has finished handling its key or click.
    void confirmRowChange();
    /// Asks "Apply the changes to row N?" when the editor holds unapplied edits:
    /// Apply applies them, Discard puts the row back into the editor. Cancel also
    /// for a refused Apply; Discard when there was nothing to ask.
    Dialogs::ApplyChangesAnswer settleEditor();
    /// Whether the editor may leave its row, as settleEditor decides.
    bool leaveEditedRow();
    /// Undo or redo of the table: unapplied edits are settled first, and Apply
    /// there is the step itself.
    void undoTable(bool redo);
    /// After an undo or redo: the row it changed, in the list and the editor.
    void showChangedRow(int row);
    /// The table's rows changed: the budget and the marks follow.
    void tableRowsChanged(int first, int last);
    /// Applies what the editor holds, if anything; false when Apply was refused.
    bool applyEditBox();
    /// The button "Apply": applies, then offers the same to identical rows.
    void cmdApply_Click();
    /// Writes the editor into its row as one undo step; false when refused.
    bool applyEditor();
    void cmdAdd_Click();
    void chkColoured_Click();
    void hsPortrait_Change();
    void txtText_Change();
    void txtText_CursorMoved();
    /// The selected row of the table (not of the filtered list), if any.
    std::optional<int> selectedRow() const;
    /// Selects row of the table, clearing the filter when it hides that row.
    void selectRow(int row);
    void showPortrait(int number);
    /// Loads the row a save refused and puts the caret at the offending character.
    void showRefusedRow(int row, int position);
    /// The editor's row as it would be if the editor were applied now.
    std::optional<StringEntry> editedEntry() const;
    /// Whether the editor holds something not applied to its row.
    bool editorDiffers() const;
    /// Updates the caption's mark and the budget panel after any change.
    void showEditState();

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
    std::unique_ptr<QSettings> settings_;
    StringTableModel* model_ = nullptr;
    // The rows the filter shows: the list's model.
    RowFilterModel* shown_ = nullptr;
    TableHistory* history_ = nullptr;
    StatusPanels* status_ = nullptr;
    QString portraitFolder_;
    RegionBudget budget_;

    // The open ROM image; its rows live in model_.
    std::string RomPath;
    // Find > Replace..., made when first asked for, and the match it last showed.
    ReplaceDialog* replace_ = nullptr;
    std::optional<TextMatch> lastMatch_;
    // The original ROM image compared with; empty when none is open.
    QString originalPath_;
    // A colour a revert put into the editor that the check box cannot show.
    std::optional<Colour> revertedColour_;
    // The name an Apply takes after a revert ("Revert to Original").
    QString pendingStep_;
    // Find's text, kept between Find and Find Next.
    QString SearchText;
    // A load or save is running: no second command may start.
    bool busy_ = false;
    // A row is being loaded into the editor: its changes are not the user's.
    bool loadingRow_ = false;
    // The row the editor was last loaded from; nothing after a new table.
    std::optional<int> loadedRow_;
    // The list moved away from an edited row and the question is yet to come.
    bool rowQuestionPending_ = false;
    // The filter is changing the rows shown: the list's moves are not the user's.
    bool filtering_ = false;
};

}  // namespace qm
