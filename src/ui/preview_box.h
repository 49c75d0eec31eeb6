#pragma once
// The live preview txtText2: the entry's text as the game's text box shows it,
// on the box's own grid of 2 lines of 20 characters, one cell per character,
// tokens hidden and a line break at each "(return)", in the entry colour. What
// does not fit is drawn in red where it would run: columns past the 20th to the
// right of the box, lines past the 2nd below it. The grid is scaled as a whole
// to the width it is given; it never wraps and never scrolls. For display only:
// a click hands the focus to its buddy, the edit box.

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

namespace qm {

/// The colour an entry's text shows in: lavender when coloured, else white.
inline QColor EntryColour(bool coloured) {
    return coloured ? QColor(160, 168, 232) : QColor(255, 255, 255);
}

class PreviewBox : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewBox(QWidget* parent = nullptr);

    /// Shows the preview of a display text (markup with mapped characters) in
    /// the entry colour, then marks the overflow.
    void showText(const QString& display);
    /// The colour of every character that fits.
    void setEntryColour(const QColor& colour);
    /// The preview's lines, joined by "\n".
    QString toPlainText() const { return lines_.join(u'\n'); }
    /// The colour the character at line, column (0-based) is drawn in: the entry
    /// colour, or red where it does not fit.
    QColor colourAt(int line, int column) const;

    /// A character as the last paint drew it: its cell, and the box its glyph's
    /// ink takes, in the widget's coordinates.
    struct Glyph {
        int line = 0;
        int column = 0;
        QRect cell;
        QRect ink;
    };
    const std::vector<Glyph>& paintedGlyphs() const { return painted_; }

    void setFocusBuddy(QWidget* buddy) { buddy_ = buddy; }

    /// Lets the mouse select characters (the original's preview, where a term
    /// for the glossary is picked): a drag selects, a double click or a right
    /// click outside the selection selects the word under the pointer.
    void setSelectable(bool selectable);
    /// The selected characters, the preview's lines joined by a space, blanks
    /// around them dropped; empty when nothing is selected.
    QString selectedText() const;
    /// Selects length characters from position of toPlainText().
    void select(int position, int length);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    struct Grid {
        int cell = 0;    // a cell's width
        int height = 0;  // a cell's height
        QFont font;
    };
    Grid gridFor(int width) const;
    static Grid measureGrid(int width);
    /// Rows drawn: the box's 2, and one for each line past them, up to a limit.
    int rowsShown() const;
    void fitHeight();
    /// FixPreview: which characters lie beyond the box (the core's rule).
    void FixPreview();
    /// The position in toPlainText() of the cell under point, or of the border
    /// between two cells nearest to it.
    int positionAt(const QPoint& point, bool border) const;
    void selectWordAt(int position);
    bool selected(int position) const;

    QStringList lines_;
    std::vector<std::vector<bool>> overflow_;  // per line, per character
    QColor colour_;
    QWidget* buddy_ = nullptr;
    std::vector<Glyph> painted_;
    mutable Grid cached_;
    bool selectable_ = false;
    // The selection runs from anchor_ to caret_ (either way); empty when equal.
    int anchor_ = 0;
    int caret_ = 0;
};

}  // namespace qm
