#include "translation_commands.h"

#include <QMenu>
#include <QWidget>
#include <numeric>

#include "dialogs.h"
#include "entry_editor.h"
#include "preview/preview.hpp"
#include "rom_session.h"
#include "row_navigator.h"
#include "status_panels.h"
#include "string_table_model.h"
#include "text.hpp"
#include "translation/reflow.hpp"

namespace qm {

namespace {

// «Row 17 needs 3 lines; "Rosalindsdiarydayforty" is longer than 20 characters»
QString unfitText(int row, std::size_t lines, const std::string& longWord) {
    QString text = QStringLiteral("Row %1").arg(row + 1);
    if (lines > kPreviewLineCount) {
        text += QStringLiteral(" needs %1 lines").arg(lines);
    }
    if (!longWord.empty()) {
        text += QStringLiteral("%1 %2 is longer than %3 characters")
                    .arg(lines > kPreviewLineCount ? QStringLiteral(";") : QString(),
                         QString::fromStdString(Quoted(Latin1ToUtf8(longWord))))
                    .arg(kPreviewLineLength);
    }
    return text + QStringLiteral(" even when reflowed");
}

}  // namespace

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

void TranslationCommands::mnuFindNextWarning_Click() {
    // Spelling warns without an original too.
    jumpTo(NextWarning(session_.model().warnings(), session_.rows().size(), editor_.row()),
           session_.originalPath().empty() && session_.assistant().spelling() == nullptr
               ? QStringLiteral("No original is open")
               : QStringLiteral("No row has a warning"));
}

void TranslationCommands::mnuReflowRow_Click() {
    const std::optional<StringEntry> entry = editor_.edited();
    if (!entry) {
        return;
    }
    const ReflowedText reflowed = ReflowText(entry->Text, session_.characterMap());
    if (OverflowLines(entry->Text, session_.characterMap()).empty()) {
        status_.showNotice(
            QStringLiteral("Row %1 fits the text box as it is").arg(*editor_.row() + 1));
        return;
    }
    editor_.revertTo(entry->Portrait, entry->Coloured, reflowed.text, QStringLiteral("Reflow"));
    if (!reflowed.fits()) {
        status_.showNotice(unfitText(*editor_.row(), reflowed.lines, reflowed.longWord));
    }
}

void TranslationCommands::mnuReflowAll_Click() {
    std::vector<std::size_t> all(session_.rows().size());
    std::iota(all.begin(), all.end(), std::size_t{0});
    std::vector<RowContent> contents;
    std::size_t unfit = 0;
    for (ReflowedRow& row : ReflowRows(session_.rows(), all, session_.characterMap())) {
        unfit += row.fits() ? 0 : 1;
        if (row.changed) {
            contents.push_back({int(row.index), std::move(row.row)});
        }
    }
    const std::size_t changed =
        session_.history().changeRows(QStringLiteral("Reflow All"), std::move(contents));
    if (editor_.row()) {
        editor_.load(*editor_.row());
    }
    status_.showNotice(
        QStringLiteral("Reflowed %1%2")
            .arg(QString::fromStdString(Counted(changed, "row", "rows")),
                 unfit == 0 ? QString() : QStringLiteral("; %1 still do not fit").arg(unfit)));
}

std::unique_ptr<QMenu> TranslationCommands::rowMenu(int row) {
    auto menu = std::make_unique<QMenu>(&window_);
    const auto checkName = [](Check check) {
        const std::string_view name = CheckName(check);
        return QString::fromUtf8(name.data(), qsizetype(name.size()));
    };
    for (const Warning& warning : session_.model().warningsOf(row)) {
        menu->addAction(
            QStringLiteral("Ignore \u201c%1\u201d on Row %2")
                .arg(checkName(warning.check))
                .arg(row + 1),
            [this, row, check = warning.check] { session_.ignoreWarning(row, check, true); });
    }
    for (const auto& [ignoredRow, check] :
         IgnoredWarningsOf(session_.project(), std::size_t(row))) {
        menu->addAction(QStringLiteral("Warn About \u201c%1\u201d on Row %2 Again")
                            .arg(checkName(check))
                            .arg(row + 1),
                        [this, row, c = check] { session_.ignoreWarning(row, c, false); });
    }
    return menu->isEmpty() ? nullptr : std::move(menu);
}

void TranslationCommands::showRowMenu(int row, const QPoint& pos) {
    if (const std::unique_ptr<QMenu> menu = rowMenu(row)) {
        menu->exec(pos);
    }
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
