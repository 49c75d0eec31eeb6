#pragma once
// Moving between rows and writing the editor into its row: a move away from a
// row with unapplied edits asks "Apply the changes to row N?" first, Apply is
// one step of the table's history, and Undo runs with the editor settled. The
// one place where the list, the editor and the table meet.

#include <QObject>
#include <optional>

#include "dialogs.h"

class QWidget;

namespace qm {

class EntryEditor;
class RomSession;
class RowList;

class RowNavigator : public QObject {
    Q_OBJECT
  public:
    RowNavigator(QWidget& window, RomSession& session, EntryEditor& editor, RowList& list,
                 Dialogs& dialogs);

    /// The user moved the list to row: it loads, or the row question comes once
    /// the list has finished handling its key or click.
    void lvText_SelectionChanged(int row);
    /// Leaves the edited row (asking first) and shows row; false when the user stayed.
    bool goTo(int row);
    /// Asks "Apply the changes to row N?" when the editor holds unapplied edits:
    /// Apply applies them, Discard puts the row back into the editor. Cancel also
    /// for a refused Apply; Discard when there was nothing to ask.
    Dialogs::ApplyChangesAnswer settleEditor();
    /// Whether the editor may leave its row, as settleEditor decides.
    bool leaveEditedRow();
    /// Writes the editor into its row as one undo step; false when refused.
    bool applyEditor();
    /// Applies what the editor holds, if anything; false when Apply was refused.
    bool applyEditBox();
    /// Undo or redo of the table: unapplied edits are settled first, and Apply
    /// there is the step itself.
    void undo(bool redo);
    /// After an undo or redo: the row it changed, in the list and the editor.
    void showChangedRow(int row);
    /// Loads the row a save refused and puts the caret at the offending character.
    void showRefusedRow(int row, int position);

  private:
    void confirmRowChange();

    QWidget& window_;
    RomSession& session_;
    EntryEditor& editor_;
    RowList& list_;
    Dialogs& dialogs_;
};

}  // namespace qm
