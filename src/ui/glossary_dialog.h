#pragma once
// File > Glossary...: which glossary the open ROM image uses, and what to do
// with it: choose another file, import the terms of a CSV file, export it, or
// stop using one. The dialog only asks; the files are chosen afterwards.

#include <QDialog>
#include <optional>

namespace qm {

/// What File > Glossary... does, as chosen in its dialog.
enum class GlossaryAction { Choose, Import, Export, StopUsing };

class GlossaryDialog : public QDialog {
    Q_OBJECT
  public:
    /// file: the glossary in use (empty: none); terms: how many it holds (-1:
    /// it could not be read).
    GlossaryDialog(QWidget* parent, const QString& file, int terms);

    /// The button the dialog was closed with; nothing for Close.
    std::optional<GlossaryAction> action() const { return action_; }

  private:
    std::optional<GlossaryAction> action_;
};

}  // namespace qm
