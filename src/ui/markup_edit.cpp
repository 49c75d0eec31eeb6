#include "markup_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QAbstractUndoItem>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QToolTip>
#include <memory>
#include <optional>

#include "markup/encoder.hpp"
#include "markup/markup.hpp"
#include "markup_highlighter.h"

namespace qm {

namespace {

// An undo step that does nothing. Closing a token's edit block, it keeps the
// typing that follows from being merged into the token's undo step.
class UndoSeal : public QAbstractUndoItem {
  public:
    void undo() override {}
    void redo() override {}
};

// Keys that act while the edit box holds back typing: they move or copy, and
// change no text.
bool onlyMovesOrCopies(const QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt: return true;
        default: return event->matches(QKeySequence::Copy);
    }
}

}  // namespace

MarkupEdit::MarkupEdit(QWidget* parent)
    : QPlainTextEdit(parent), highlighter_(new MarkupHighlighter(document())) {
    connect(this, &QPlainTextEdit::textChanged, this, &MarkupEdit::restoreCaretAfterDelete);
}

void MarkupEdit::setCharacterMap(const CharacterMap* map) {
    highlighter_->setCharacterMap(map);
}

void MarkupEdit::setSpelling(const TranslationAssistant* assistant) {
    highlighter_->setSpelling(assistant);
}

void MarkupEdit::recheckSpelling() {
    highlighter_->rehighlight();
}

bool MarkupEdit::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QPlainTextEdit::viewportEvent(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const QTextCursor at = cursorForPosition(help->pos());
    const int offset = at.position() - at.block().position();
    for (const QTextLayout::FormatRange& range : at.block().layout()->formats()) {
        if (offset >= range.start && offset < range.start + range.length &&
            !range.format.toolTip().isEmpty()) {
            QToolTip::showText(help->globalPos(), range.format.toolTip(), this);
            return true;
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

QString MarkupEdit::withReturnTokens(QString text) {
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return QString::fromStdString(LineBreaksAsReturns(text.toStdString()));
}

namespace {

// The token around position (strictly inside it), or nothing.
std::optional<MarkupToken> tokenAround(const QString& text, int position) {
    for (const MarkupToken& token : MarkupTokens(text.toLatin1().toStdString())) {
        if (int(token.position) < position && position < int(token.position + token.length)) {
            return token;
        }
    }
    return std::nullopt;
}

}  // namespace

void MarkupEdit::insertAsOneStep(const QString& text) {
    QTextCursor cursor = textCursor();
    // Inside a token the text goes after it: a token is one unit.
    if (const auto token =
            cursor.hasSelection() ? std::nullopt : tokenAround(toPlainText(), cursor.position())) {
        cursor.setPosition(int(token->position + token->length));
    }
    // An edit block of its own keeps it apart from the typing around it on undo.
    cursor.beginEditBlock();
    cursor.insertText(text);
    document()->appendUndoItem(new UndoSeal);
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void MarkupEdit::undoStep() {
    const auto caret = caretBeforeRemovedToken_.find(document()->availableUndoSteps());
    const bool restoresToken = caret != caretBeforeRemovedToken_.end();
    const int position = restoresToken ? caret->second : 0;
    undo();
    if (restoresToken) {
        QTextCursor cursor = textCursor();
        cursor.setPosition(position);
        setTextCursor(cursor);
    }
}

void MarkupEdit::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    if (QAction* undoItem = menu->findChild<QAction*>(QStringLiteral("edit-undo"))) {
        undoItem->disconnect();
        connect(undoItem, &QAction::triggered, this, &MarkupEdit::undoStep);
    }
    emit contextMenuOpening(menu.get(), cursorForPosition(event->pos()).position());
    menu->exec(event->globalPos());
}

void MarkupEdit::keyPressEvent(QKeyEvent* event) {
    deleteState_ = DeleteState::Idle;
    if (event->matches(QKeySequence::Undo) && !locked_) {
        undoStep();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // The token instead of the key's own line break, whatever the modifiers.
        insertAsOneStep(QStringLiteral("(return)"));
        locked_ = true;
        return;
    }
    if (event->key() == Qt::Key_Backspace && !textCursor().hasSelection() &&
        event->modifiers() == Qt::NoModifier) {
        if (removeTokenBeforeCaret()) {
            locked_ = true;  // a held Backspace goes on removing tokens only
            return;
        }
        if (locked_) {
            return;
        }
    }
    if (event->key() == Qt::Key_Delete && !textCursor().hasSelection()) {
        deleteState_ = DeleteState::Handling;
        deleteCaret_ = textCursor().position();
        if (removeTokenAtCaret()) {
            locked_ = true;
        }
        deleteState_ = DeleteState::Handled;
        if (locked_) {
            return;  // a held Delete goes on removing tokens only
        }
    }
    if (locked_ && !onlyMovesOrCopies(event)) {
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MarkupEdit::keyReleaseEvent(QKeyEvent* event) {
    // A held key repeats its key down; only letting go of it counts.
    if (!event->isAutoRepeat()) {
        locked_ = false;
    }
    QPlainTextEdit::keyReleaseEvent(event);
}

// Removes the token that starts right at the caret, up to the first ")" after
// it. A "(" with no ")" after it is no token: the key then deletes as usual.
bool MarkupEdit::removeTokenAtCaret() {
    const QString text = toPlainText();
    if (deleteCaret_ >= text.size() || text.at(deleteCaret_) != u'(') {
        return false;
    }
    const qsizetype close = text.indexOf(u')', deleteCaret_);
    if (close < 0) {
        return false;
    }
    QTextCursor cursor = textCursor();
    cursor.setPosition(deleteCaret_);
    cursor.setPosition(int(close) + 1, QTextCursor::KeepAnchor);
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    cursor.endEditBlock();
    setTextCursor(cursor);
    caretBeforeRemovedToken_[document()->availableUndoSteps()] = deleteCaret_;
    return true;
}

// Removes the token that ends right at the caret, as one undo step.
bool MarkupEdit::removeTokenBeforeCaret() {
    const int caret = textCursor().position();
    for (const MarkupToken& token : MarkupTokens(toPlainText().toLatin1().toStdString())) {
        if (int(token.position + token.length) == caret) {
            QTextCursor cursor = textCursor();
            cursor.setPosition(int(token.position));
            cursor.setPosition(caret, QTextCursor::KeepAnchor);
            cursor.beginEditBlock();
            cursor.removeSelectedText();
            cursor.endEditBlock();
            setTextCursor(cursor);
            caretBeforeRemovedToken_[document()->availableUndoSteps()] = caret;
            return true;
        }
    }
    return false;
}

void MarkupEdit::restoreCaretAfterDelete() {
    if (deleteState_ == DeleteState::Handling) {
        QTextCursor caret = textCursor();
        caret.setPosition(deleteCaret_);
        setTextCursor(caret);
    }
}

bool MarkupEdit::canInsertFromMimeData(const QMimeData* source) const {
    if (source != nullptr && source->hasUrls() && !source->urls().isEmpty() &&
        source->urls().constFirst().isLocalFile()) {
        return false;
    }
    return QPlainTextEdit::canInsertFromMimeData(source);
}

void MarkupEdit::insertFromMimeData(const QMimeData* source) {
    if (source != nullptr && source->hasText()) {
        insertAsOneStep(withReturnTokens(source->text()));
    }
}

}  // namespace qm
