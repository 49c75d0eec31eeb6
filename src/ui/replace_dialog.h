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

    /// The pattern (markup read from what is typed with map), or nothing (with a
    /// message shown) when the text to find is empty or holds a character no
    /// code stands for.
    std::optional<SearchPattern> pattern(const CharacterMap& map);
    /// The replacement's markup, or nothing (with a message shown) when it holds
    /// a character no code stands for.
    std::optional<std::string> replacement(const CharacterMap& map);
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
    std::optional<std::string> markupOf(const QLineEdit& box, const CharacterMap& map,
                                        const QString& what);

    QLineEdit* find_;
    QLineEdit* replace_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWords_;
    QComboBox* scope_;
    QLabel* outcome_;
};

}  // namespace qm
