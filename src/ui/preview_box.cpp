#include "preview_box.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtMath>

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
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
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
    if (colour == colour_ && pointSize == pointSize_) {
        return;  // the text shows so already
    }
    colour_ = colour;
    const bool resized = pointSize != pointSize_;
    pointSize_ = pointSize;
    applyBaseFormat();
    FixPreview();
    if (resized) {
        fitWholeLines();
    }
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

int PreviewBox::lineHeight() const {
    QFont shown = font();
    if (pointSize_) {
        shown.setPointSizeF(*pointSize_);
    }
    return qCeil(QFontMetricsF(shown).height());
}

void PreviewBox::fitWholeLines() {
    const int margin = qCeil(document()->documentMargin());
    const int line = lineHeight();
    const int room = contentsRect().height() - 2 * margin;
    setViewportMargins(0, 0, 0, line > 0 && room > line ? room % line : 0);
    verticalScrollBar()->setSingleStep(line);
}

void PreviewBox::showLine(int line) {
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid()) {
        return;
    }
    // Scrolled in whole lines, so no line is ever cut in half.
    const int height = lineHeight();
    const int top = int(document()->documentLayout()->blockBoundingRect(block).top());
    const int bottom = top + height;
    QScrollBar* bar = verticalScrollBar();
    const int visible = viewport()->height();
    if (top < bar->value()) {
        bar->setValue(top - top % height);
    } else if (bottom > bar->value() + visible) {
        const int wanted = bottom - visible;
        bar->setValue(wanted + (height - wanted % height) % height);
    }
}

void PreviewBox::resizeEvent(QResizeEvent* event) {
    QTextEdit::resizeEvent(event);
    fitWholeLines();
}

void PreviewBox::focusInEvent(QFocusEvent* event) {
    QTextEdit::focusInEvent(event);
    if (buddy_ != nullptr) {
        buddy_->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace qm
