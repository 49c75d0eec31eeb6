#include "translation_commands.h"

#include <QWidget>

#include "dialogs.h"
#include "entry_editor.h"
#include "rom_session.h"
#include "row_navigator.h"
#include "status_panels.h"
#include "string_table_model.h"
#include "text.hpp"

namespace qm {

TranslationCommands::TranslationCommands(QWidget& window, RomSession& session, EntryEditor& editor,
                                         RowNavigator& navigator, Dialogs& dialogs,
                                         StatusPanels& status)
    : QObject(&window),
      window_(window),
      session_(session),
      editor_(editor),
      navigator_(navigator),
      dialogs_(dialogs),
      status_(status) {}

void TranslationCommands::mnuFindNextUntranslated_Click() {
    jumpTo(NextUntranslated(session_.model().states(), editor_.row()),
           session_.originalPath().empty() ? QStringLiteral("No original is open")
                                           : QStringLiteral("No untranslated row"));
}

void TranslationCommands::mnuFindNextProblem_Click() {
    jumpTo(NextProblem(session_.model().states(), editor_.row()),
           QStringLiteral("No row overflows the text box or cannot be saved"));
}

void TranslationCommands::mnuFindNextNeedingReview_Click() {
    jumpTo(NextNeedingReview(session_.model().states(), editor_.row()),
           QStringLiteral("No row needs review"));
}

void TranslationCommands::jumpTo(const RowJump& jump, const QString& nothing) {
    if (!jump.row) {
        status_.showNotice(nothing);
        return;
    }
    if (navigator_.goTo(int(*jump.row)) && jump.wrapped) {
        status_.showNotice(QStringLiteral("Went on from the first row"));
    }
}

void TranslationCommands::mnuRevertOriginal_Click() {
    if (const StringEntry* original =
            editor_.row() ? session_.model().originalOf(*editor_.row()) : nullptr) {
        editor_.revertTo(original->Portrait, original->Coloured, original->Text,
                         QStringLiteral("Revert to Original"));
    }
}

void TranslationCommands::mnuRevertFile_Click() {
    if (editor_.row()) {
        const LoadedForm& file = session_.model().entry(*editor_.row()).Loaded;
        editor_.revertTo(file.portrait, file.coloured, file.text, QStringLiteral("Revert to File"));
    }
}

void TranslationCommands::mnuApplyIdentical_Click() {
    if (!editor_.row()) {
        return;
    }
    const std::size_t applied = session_.applyToIdenticalRows(*editor_.row());
    status_.showNotice(applied == 0
                           ? QStringLiteral("No other untranslated row has the same original")
                           : QStringLiteral("Applied to %1 with the same original")
                                 .arg(QString::fromStdString(Counted(applied, "row", "rows"))));
}

void TranslationCommands::offerIdenticalRows(int row) {
    if (!session_.model().state(row).translated()) {
        return;  // the original itself, which those rows hold already
    }
    const std::size_t rows = session_.identicalRows(row).size();
    if (rows > 0 && dialogs_.askYesNo(&window_, kCaption,
                                      QStringLiteral("Apply to %1 with the same original?")
                                          .arg(QString::fromStdString(
                                              Counted(rows, "other row", "other rows"))))) {
        mnuApplyIdentical_Click();
    }
}

}  // namespace qm
