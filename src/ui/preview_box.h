#pragma once
// The live preview txtText2: the entry's text as the game's text box shows it,
// tokens hidden, a line break at each "(return)", in the entry colour, with what
// does not fit (beyond 2 lines of 20 characters) in red. For display only: a
// click hands the focus to its buddy, the edit box.

#include <QColor>
#include <QTextEdit>
#include <optional>

namespace qm {

/// The size of the preview's text.
inline constexpr qreal kPreviewPointSize = 14;

/// The colour an entry's text shows in: lavender when coloured, else white.
inline QColor EntryColour(bool coloured) {
    return coloured ? QColor(160, 168, 232) : QColor(255, 255, 255);
}

class PreviewBox : public QTextEdit {
    Q_OBJECT
  public:
    explicit PreviewBox(QWidget* parent = nullptr);

    /// Shows the preview of a markup text in the current base colour and size,
    /// then marks the overflow.
    void showMarkup(const QString& markup);
    /// Sets the base colour and size of every character, then marks the overflow
    /// again; nothing (for the size) keeps the design font's size.
    void setBaseFormat(const QColor& colour, std::optional<qreal> pointSize);
    /// Colours in red what does not fit the game's text box.
    void FixPreview();
    /// Scrolls so that line (0-based) of the preview is in view.
    void showLine(int line);

    void setFocusBuddy(QWidget* buddy) { buddy_ = buddy; }

    /// The design's size, so that a layout that centres the box gives it that
    /// size wherever there is room.
    QSize sizeHint() const override { return maximumSize(); }

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void applyBaseFormat();
    /// Shows whole lines only: the box is trimmed to a whole number of lines
    /// and scrolls line by line.
    void fitWholeLines();
    int lineHeight() const;

    QColor colour_;
    std::optional<qreal> pointSize_;
    QWidget* buddy_ = nullptr;
};

}  // namespace qm
