#pragma once
// Find, Find Next and Find > Replace...: what is searched for, the Replace
// dialog and the match it last showed. Finding moves the list and the editor
// through the window's goTo; replacing changes rows as steps of the table's
// history. The rules (what matches, what a replacement gives) are the core's.

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "translation/replace.hpp"

class QWidget;

namespace qm {

class CommandRunner;
class Dialogs;
class EntryEditor;
class ReplaceDialog;
class RomSession;
class RowList;

class FindReplace : public QObject {
    Q_OBJECT
  public:
    /// goTo(row) settles the editor, then selects and loads row; false when
    /// the user chose to stay.
    FindReplace(QWidget& window, RomSession& session, EntryEditor& editor, RowList& list,
                Dialogs& dialogs, CommandRunner& commands, std::function<bool(int)> goTo);

    /// Find: asks for the text, then finds it as Find Next does.
    void mnuFindFind_Click();
    /// Find Next: the next row after the selected one whose text, as the
    /// player reads it, holds the search text.
    void mnuFindFindNext_Click();
    /// Find > Replace...: the dialog, with the edit box's selection to find.
    void mnuFindReplace_Click();

    /// A step was undone or redone: what the dialog said of the last command
    /// no longer holds.
    void forgetOutcome();

  signals:
    /// Something the status bar should say.
    void notice(const QString& text);

  private:
    /// The rows the dialog's scope names, as rows of the table.
    std::vector<std::size_t> replaceScope() const;
    void replaceFindNext();
    void replaceOne();
    void replaceAll();
    /// Selects match's row and, in the edit box, the match.
    void showMatch(const TextMatch& match);
    /// Where markup's characters from position to position + length stand in
    /// the edit box's display text of row: start and end.
    std::pair<int, int> shownRange(std::size_t row, std::size_t position, std::size_t length) const;

    QWidget& window_;
    RomSession& session_;
    EntryEditor& editor_;
    RowList& list_;
    Dialogs& dialogs_;
    CommandRunner& commands_;
    std::function<bool(int)> goTo_;
    // Find's text, kept between Find and Find Next.
    QString SearchText;
    // Find > Replace..., made when first asked for, and the match it last showed.
    ReplaceDialog* replace_ = nullptr;
    std::optional<TextMatch> lastMatch_;
};

}  // namespace qm
