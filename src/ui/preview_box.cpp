#include "preview_box.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "preview/preview.hpp"

namespace qm {

namespace {

const QColor kOverflowRed(255, 0, 0);

}  // namespace

PreviewBox::PreviewBox(QWidget* parent) : QTextEdit(parent), colour_(255, 255, 255) {
    QPalette colours = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, Qt::black);
        colours.setColor(group, QPalette::Text, colour_);
    }
    setPalette(colours);
    setUndoRedoEnabled(false);
}

void PreviewBox::showMarkup(const QString& markup) {
    // Characters beyond Latin-1 show as "?", one per position, so the preview's
    // positions stay those of the edit box's text.
    const std::string preview = PreviewText(markup.toLatin1().toStdString());
    setPlainText(QString::fromLatin1(preview.data(), qsizetype(preview.size())));
    applyBaseFormat();
    FixPreview();
}

void PreviewBox::setBaseFormat(const QColor& colour, std::optional<qreal> pointSize) {
    colour_ = colour;
    pointSize_ = pointSize;
    applyBaseFormat();
    FixPreview();
}

void PreviewBox::applyBaseFormat() {
    QTextCharFormat base;
    base.setForeground(colour_);
    if (pointSize_) {
        base.setFontPointSize(*pointSize_);
    }
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.mergeCharFormat(base);
}

void PreviewBox::FixPreview() {
    QTextCharFormat red;
    red.setForeground(kOverflowRed);
    QTextCursor cursor(document());
    const std::string preview = toPlainText().toLatin1().toStdString();
    for (const TextRange& range : OverflowRanges(preview)) {
        cursor.setPosition(int(range.start));
        cursor.setPosition(int(range.start + range.length), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(red);
    }
}

void PreviewBox::showLine(int line) {
    const QTextBlock block = document()->findBlockByNumber(line);
    if (block.isValid()) {
        QTextCursor cursor(block);
        setTextCursor(cursor);
        ensureCursorVisible();
    }
}

void PreviewBox::focusInEvent(QFocusEvent* event) {
    QTextEdit::focusInEvent(event);
    if (buddy_ != nullptr) {
        buddy_->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace qm
