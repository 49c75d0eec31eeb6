#pragma once
// Find > Replace...: what to find, what to put instead, match case, whole words
// and the rows to search. The window does the finding and replacing; the dialog
// asks for it and shows how it went. It stays open beside the window.

#include <QDialog>
#include <optional>
#include <string>

#include "translation/replace.hpp"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace qm {

class ReplaceDialog : public QDialog {
    Q_OBJECT
  public:
    /// The rows a search covers, in the order the scope box lists them.
    enum class Scope { AllRows, FilteredRows, SelectedRow };

    explicit ReplaceDialog(QWidget* parent = nullptr);

    /// The pattern, or nothing (with a message shown) when the text to find is
    /// empty or holds a character no game text has.
    std::optional<SearchPattern> pattern();
    /// The replacement in game text, or nothing (with a message shown) when it
    /// holds a character no game text has.
    std::optional<std::string> replacement();
    Scope scope() const;
    /// Puts text (or, when it is empty, what the box holds) in the "Find what"
    /// box, selected, with the focus, as the dialog opens.
    void setFindText(const QString& text);
    /// Opens beside parent where the screen has room for it, else over it.
    void showBeside(const QWidget& parent);
    /// Says how the last command went, under the buttons.
    void showOutcome(const QString& text);

  signals:
    void findNextRequested();
    void replaceRequested();
    void replaceAllRequested();

  private:
    QLineEdit* find_;
    QLineEdit* replace_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWords_;
    QComboBox* scope_;
    QLabel* outcome_;
};

}  // namespace qm
