#pragma once
// The edit box txtText: a plain-text edit whose line breaks are "(return)"
// tokens. Enter is handled by the window; pasted or dropped text arrives here.

#include <QPlainTextEdit>

namespace qm {

class MarkupEdit : public QPlainTextEdit {
    Q_OBJECT
  public:
    using QPlainTextEdit::QPlainTextEdit;

    /// text with each line break (CR LF, CR, LF or a paragraph separator)
    /// written as "(return)", the only line break a ROM text knows.
    static QString withReturnTokens(QString text);

  protected:
    // A raw line break would be saved as a stray byte, not as a line break.
    void insertFromMimeData(const QMimeData* source) override;
};

}  // namespace qm
