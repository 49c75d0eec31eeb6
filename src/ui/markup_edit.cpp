#include "markup_edit.h"

#include <QMimeData>

namespace qm {

QString MarkupEdit::withReturnTokens(QString text) {
    const QString token = QStringLiteral("(return)");
    text.replace(QStringLiteral("\r\n"), token);
    text.replace(u'\r', token);
    text.replace(u'\n', token);
    text.replace(QChar::ParagraphSeparator, token);
    text.replace(QChar::LineSeparator, token);
    return text;
}

void MarkupEdit::insertFromMimeData(const QMimeData* source) {
    if (source != nullptr && source->hasText()) {
        QTextCursor cursor = textCursor();
        cursor.insertText(withReturnTokens(source->text()));
        setTextCursor(cursor);
    }
}

}  // namespace qm
