// The live preview above the edit box, and the edit box's own keys: Enter puts
// in a "(return)" token, Delete in front of a token removes the whole token.
#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>

#include "frmMain.h"
#include "preview/preview.hpp"
#include "ui_frmMain.h"

namespace qm {

namespace {

const QColor kOverflowRed(255, 0, 0);

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

void selectRange(QTextCursor& cursor, int start, int length) {
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
}

}  // namespace

void frmMain::txtText_Change() {
    if (DeleteState == 1) {
        QTextCursor caret = ui->txtText->textCursor();
        caret.setPosition(DeleteCaret);
        ui->txtText->setTextCursor(caret);
    }
    if (DeleteState == 2) {
        editLocked_ = false;
    }
    showPreviewOf(ui->txtText->toPlainText());
}

void frmMain::showPreviewOf(const QString& markup) {
    // Characters beyond Latin-1 show as "?", one per position, so the
    // preview's positions stay those of the edit box's text.
    const std::string preview = PreviewText(markup.toLatin1().toStdString());
    ui->txtText2->setPlainText(QString::fromLatin1(preview.data(), qsizetype(preview.size())));
    colourWholePreview();
    FixPreview();
}

void frmMain::colourWholePreview() {
    QTextCharFormat base;
    base.setForeground(previewColour_);
    if (previewPointSize_) {
        base.setFontPointSize(*previewPointSize_);
    }
    QTextCursor all(ui->txtText2->document());
    all.select(QTextCursor::Document);
    all.mergeCharFormat(base);
}

void frmMain::FixPreview() {
    QTextCharFormat red;
    red.setForeground(kOverflowRed);
    QTextCursor cursor(ui->txtText2->document());
    const std::string preview = ui->txtText2->toPlainText().toLatin1().toStdString();
    for (const TextRange& range : OverflowRanges(preview)) {
        selectRange(cursor, int(range.start), int(range.length));
        cursor.mergeCharFormat(red);
    }
}

bool frmMain::txtText_KeyDown(QKeyEvent* event) {
    DeleteState = 0;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // The token instead of the key's own line break, whatever the modifiers.
        QTextCursor cursor = ui->txtText->textCursor();
        cursor.insertText(QStringLiteral("(return)"));
        ui->txtText->setTextCursor(cursor);
        editLocked_ = true;
        return true;
    }
    if (event->key() == Qt::Key_Delete) {
        DeleteState = 1;
        DeleteCaret = ui->txtText->textCursor().selectionStart();
        const bool removed = removeTokenAtCaret();
        if (removed) {
            editLocked_ = true;
        }
        DeleteState = 2;
        return removed || editLocked_;
    }
    return editLocked_ && !onlyMovesOrCopies(event);
}

// Removes the token that starts right at the caret, up to the first ")" after
// it. A "(" with no ")" after it is no token: the key then deletes as usual.
bool frmMain::removeTokenAtCaret() {
    const QString text = ui->txtText->toPlainText();
    if (DeleteCaret >= text.size() || text.at(DeleteCaret) != u'(') {
        return false;
    }
    const qsizetype close = text.indexOf(u')', DeleteCaret);
    if (close < 0) {
        return false;
    }
    QTextCursor cursor = ui->txtText->textCursor();
    selectRange(cursor, DeleteCaret, int(close) + 1 - DeleteCaret);
    cursor.removeSelectedText();
    return true;
}

void frmMain::txtText_KeyUp() {
    editLocked_ = false;
}

bool frmMain::filterEditBoxKey(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        return txtText_KeyDown(static_cast<QKeyEvent*>(event));
    }
    // A held key repeats its key down; only letting go of it counts as key up.
    if (event->type() == QEvent::KeyRelease && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
        txtText_KeyUp();
    }
    return false;
}

bool frmMain::filterListEvent(QObject* watched, QEvent* event) {
    if (watched == ui->lvText) {
        if (event->type() == QEvent::KeyPress) {
            lvText_KeyDown();
            if (!static_cast<QKeyEvent*>(event)->text().isEmpty()) {
                lvText_KeyPress();
            }
        } else if (event->type() == QEvent::KeyRelease) {
            lvText_KeyUp();
        }
    } else if (watched == ui->lvText->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // The press has already selected the clicked row.
        lvText_Click();
    }
    return false;
}

}  // namespace qm
