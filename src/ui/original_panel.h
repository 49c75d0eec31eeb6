#pragma once
// The original's side of the editor while an original ROM image is open: its
// speaker and colour in a caption, and its text as the game's text box shows it,
// read-only, beside the live preview of the translation. Its characters can be
// selected, to add a term to the glossary from its context menu.

#include <QWidget>

class QLabel;

namespace qm {

class PreviewBox;
struct StringEntry;

class OriginalPanel : public QWidget {
    Q_OBJECT
  public:
    explicit OriginalPanel(QWidget* parent = nullptr);

    /// Shows the original's row, whose text shows as display; nothing (no
    /// original, or no such row) empties it.
    void showRow(const StringEntry* original, const QString& display);
    /// The original's preview, where a term for the glossary is selected.
    PreviewBox* preview() const { return preview_; }

  private:
    QLabel* caption_;
    PreviewBox* preview_;
};

}  // namespace qm
