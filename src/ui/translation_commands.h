#pragma once
// The translator's commands on rows: the jumps to the next row that needs
// work, the reverts to the original and to the file, and the rows that share
// an original.

#include <QObject>
#include <QString>
#include <memory>

class QMenu;

#include "translation/filter.hpp"

class QWidget;

namespace qm {

class Dialogs;
class EntryEditor;
class RomSession;
class RowNavigator;
class StatusPanels;

class TranslationCommands : public QObject {
    Q_OBJECT
  public:
    TranslationCommands(QWidget& window, RomSession& session, EntryEditor& editor,
                        RowNavigator& navigator, Dialogs& dialogs, StatusPanels& status);

    void mnuFindNextUntranslated_Click();
    void mnuFindNextProblem_Click();
    void mnuFindNextNeedingReview_Click();
    void mnuFindNextWarning_Click();
    /// Edit > Reflow Row: the edit box's text broken anew to fit the box, not
    /// applied (Apply makes it the step "Reflow").
    void mnuReflowRow_Click();
    /// Edit > Reflow All Overflowing Rows, as one step.
    void mnuReflowAll_Click();
    /// The list's context menu on row: the warnings to ignore there, and those
    /// ignored to warn about again; nothing when there are none.
    std::unique_ptr<QMenu> rowMenu(int row);
    void showRowMenu(int row, const QPoint& pos);
    void mnuRevertOriginal_Click();
    void mnuRevertFile_Click();
    void mnuApplyIdentical_Click();
    /// After Apply: offers row's content to the untranslated rows that share its
    /// original.
    void offerIdenticalRows(int row);
    /// Selects the row a jump found, or says that there is none.
    void jumpTo(const RowJump& jump, const QString& nothing);

  private:
    QWidget& window_;
    RomSession& session_;
    EntryEditor& editor_;
    RowNavigator& navigator_;
    Dialogs& dialogs_;
    StatusPanels& status_;
};

}  // namespace qm
