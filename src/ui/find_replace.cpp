#include "find_replace.h"

#include <QWidget>
#include <numeric>

#include "command_runner.h"
#include "commands/find.hpp"
#include "dialogs.h"
#include "entry_editor.h"
#include "game_text.h"
#include "markup/display.hpp"
#include "replace_dialog.h"
#include "rom_session.h"
#include "row_list.h"
#include "string_table_model.h"
#include "translation/filter.hpp"

namespace qm {

FindReplace::FindReplace(QWidget& window, RomSession& session, EntryEditor& editor, RowList& list,
                         Dialogs& dialogs, CommandRunner& commands, std::function<bool(int)> goTo)
    : QObject(&window),
      window_(window),
      session_(session),
      editor_(editor),
      list_(list),
      dialogs_(dialogs),
      commands_(commands),
      goTo_(std::move(goTo)) {}

void FindReplace::mnuFindFind_Click() {
    const std::optional<QString> answer = dialogs_.getText(
        &window_, QString(), QStringLiteral("Please enter the text to search for:"), QString());
    // A cancelled box empties the search text, so Find Next then does nothing.
    SearchText = answer.value_or(QString());
    mnuFindFindNext_Click();
}

void FindReplace::mnuFindFindNext_Click() {
    if (SearchText.isEmpty()) {
        return;
    }
    const std::optional<int> selected = list_.selectedRow();
    const RowJump found = NextRowContaining(
        session_.rows(), selected ? std::optional<std::size_t>(*selected) : std::nullopt,
        SearchText.toStdString(), &session_.characterMap());
    if (!found.row) {
        dialogs_.information(&window_, QStringLiteral("Find"),
                             QString::fromStdString(NotFoundMessage(SearchText.toStdString())));
        return;
    }
    if (goTo_(int(*found.row)) && found.wrapped) {
        emit notice(QStringLiteral("Went on from the first row"));
    }
}

void FindReplace::mnuFindReplace_Click() {
    if (replace_ == nullptr) {
        replace_ = new ReplaceDialog(&window_);
        const auto command = [this](const QString& title, void (FindReplace::*handler)()) {
            return [this, title, handler] {
                commands_.run(title, Settle::Apply, [this, handler] { (this->*handler)(); });
            };
        };
        connect(replace_, &ReplaceDialog::findNextRequested, this,
                command(QStringLiteral("Find Next"), &FindReplace::replaceFindNext));
        connect(replace_, &ReplaceDialog::replaceRequested, this,
                command(QStringLiteral("Replace"), &FindReplace::replaceOne));
        connect(replace_, &ReplaceDialog::replaceAllRequested, this,
                command(QStringLiteral("Replace All"), &FindReplace::replaceAll));
    }
    replace_->showBeside(window_);
    replace_->setFindText(editor_.selectedText());
}

void FindReplace::forgetOutcome() {
    lastMatch_.reset();
    if (replace_ != nullptr) {
        replace_->showOutcome(QString());
    }
}

std::vector<std::size_t> FindReplace::replaceScope() const {
    switch (replace_->scope()) {
        case ReplaceDialog::Scope::FilteredRows: return list_.shownRows();
        case ReplaceDialog::Scope::SelectedRow:
            return editor_.row() ? std::vector<std::size_t>{std::size_t(*editor_.row())}
                                 : std::vector<std::size_t>{};
        case ReplaceDialog::Scope::AllRows: break;
    }
    std::vector<std::size_t> all(session_.rows().size());
    std::iota(all.begin(), all.end(), std::size_t{0});
    return all;
}

void FindReplace::replaceFindNext() {
    const std::optional<SearchPattern> pattern = replace_->pattern(session_.characterMap());
    if (!pattern) {
        return;
    }
    // From the end of what is selected: a match just shown is not found again.
    const std::optional<int> row = editor_.row();
    const MatchSearch found =
        FindNextMatch(session_.rows(), replaceScope(), std::size_t(row.value_or(0)),
                      std::size_t(row ? editor_.selectionEnd() : 0), *pattern);
    if (!found.match) {
        lastMatch_.reset();
        replace_->showOutcome(QStringLiteral("Not found."));
        return;
    }
    showMatch(*found.match);
    replace_->showOutcome(found.wrapped ? QStringLiteral("Passed the last row and went on from "
                                                         "the first.")
                                        : QString());
}

void FindReplace::showMatch(const TextMatch& match) {
    list_.selectRow(int(match.row));
    editor_.load(int(match.row));
    const auto [start, end] = shownRange(match.row, match.position, match.length);
    editor_.select(start, end - start);
    lastMatch_ = match;
}

std::pair<int, int> FindReplace::shownRange(std::size_t row, std::size_t position,
                                            std::size_t length) const {
    const std::string& markup = session_.rows()[row].Text;
    const CharacterMap& map = session_.characterMap();
    return {int(DisplayPosition(markup, map, position)),
            int(DisplayPosition(markup, map, position + length))};
}

void FindReplace::replaceOne() {
    const std::optional<SearchPattern> pattern = replace_->pattern(session_.characterMap());
    const std::optional<std::string> replacement = replace_->replacement(session_.characterMap());
    if (!pattern || !replacement) {
        return;
    }
    const bool shown = lastMatch_ && editor_.row() == int(lastMatch_->row) &&
                       std::pair(editor_.selectionStart(), editor_.selectionEnd()) ==
                           shownRange(lastMatch_->row, lastMatch_->position, lastMatch_->length);
    if (shown) {
        try {
            if (const std::optional<StringEntry> row =
                    ReplaceMatch(session_.rows(), *lastMatch_, *pattern, *replacement)) {
                const int index = int(lastMatch_->row);
                session_.history().changeRow(QStringLiteral("Replace"), index, *row);
                editor_.load(index);
                const int after =
                    shownRange(std::size_t(index), lastMatch_->position + replacement->size(), 0)
                        .first;
                editor_.select(after, 0);
            }
        } catch (const ReplaceError& error) {
            dialogs_.warning(replace_, QStringLiteral("Replace"), QString::fromUtf8(error.what()));
            return;
        }
    }
    replaceFindNext();  // the next match, or the first when none was shown
}

void FindReplace::replaceAll() {
    const std::optional<SearchPattern> pattern = replace_->pattern(session_.characterMap());
    const std::optional<std::string> replacement = replace_->replacement(session_.characterMap());
    if (!pattern || !replacement) {
        return;
    }
    Replacement done;
    try {
        done = ReplaceAll(session_.rows(), replaceScope(), *pattern, *replacement);
    } catch (const ReplaceError& error) {
        dialogs_.warning(replace_, QStringLiteral("Replace All"), QString::fromUtf8(error.what()));
        return;
    }
    std::vector<RowContent> contents;
    for (ReplacedRow& row : done.rows) {
        contents.push_back({int(row.index), std::move(row.row)});
    }
    session_.history().changeRows(QStringLiteral("Replace All"), std::move(contents));
    if (editor_.row()) {
        editor_.load(*editor_.row());  // it may have changed
    }
    lastMatch_.reset();
    const QString outcome = QString::fromStdString(ReplacedText(done));
    replace_->showOutcome(outcome);
    emit notice(outcome);
}

}  // namespace qm
