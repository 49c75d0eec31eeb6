#pragma once
// The entry editor fraText: the edit box txtText with its live preview
// txtText2, the original's side, the portrait (hsPortrait, imgPortrait), the
// colour (chkColoured) and the buttons Add and Apply. It owns what the editor
// holds: the row it was loaded from, what is typed and not applied, a colour a
// revert put there, the name the next Apply takes, and whether the question
// about leaving an edited row is on its way. It changes no row itself: the
// window applies what edited() returns.

#include <QGroupBox>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "markup/helpers.hpp"
#include "project/recovery.hpp"
#include "rom/string_table.hpp"
#include "translation/review.hpp"

namespace Ui {
class EntryEditor;
}

namespace qm {

class AssistantPanel;
class MarkupEdit;
class PreviewBox;
class StringTableModel;

class EntryEditor : public QGroupBox {
    Q_OBJECT
  public:
    explicit EntryEditor(QWidget* parent = nullptr);
    ~EntryEditor() override;

    /// The table the rows come from, and the folder of the portrait pictures
    /// (empty: beside the program, else the installed ones).
    void setUp(const StringTableModel& model, const QString& portraitFolder);

    /// Loads row (0-based) of the table: its portrait, colour and text, and the
    /// original's side. What was typed and not applied is dropped.
    void load(int row);
    /// The row the editor was last loaded from; nothing after forgetRow().
    std::optional<int> row() const { return row_; }
    /// A new table: the editor holds no row of it until load().
    void forgetRow();

    /// The editor's row as it would be if applied now; nothing without a row.
    std::optional<StringEntry> edited() const;
    /// The markup of a display text as far as it has one: a character no code
    /// stands for becomes a byte the encoder refuses, so the row counts as one
    /// that cannot be saved.
    std::string markupOf(const QString& display) const;
    /// The note and state the editor holds for its row, as an Apply would take
    /// them: a text change to an Approved row makes it Draft again, unless the
    /// user chose the state in the editor.
    RowReview editedReview() const;
    /// Whether the editor holds something its row does not.
    bool isModified() const;
    /// The name of the step an Apply makes now: "Apply", or the revert's name.
    QString stepName() const;

    /// What the editor holds is now its row's: the state shows as the row has
    /// it (an edit may have made an Approved row Draft), and counts as the row's
    /// own from here on.
    void applied();
    /// Puts portrait, colour and text into the editor, not applied: Ctrl+Z in
    /// the edit box takes the text back, and an Apply is the step named step.
    void revertTo(std::int16_t portrait, Colour coloured, const std::string& text,
                  const QString& step);
    /// Loads the row of a recovered edit box, then puts back what the box held
    /// (not applied) and the caret.
    void restore(const EditBoxState& box);
    /// Shows or hides the original's side.
    void showOriginalSide(bool shown);

    /// Replaces the selection (or inserts at the caret) with text as one undo
    /// step of the edit box, which then has the focus.
    void insertText(const QString& text);
    /// Selects length characters from position in the edit box.
    void select(int position, int length);
    /// Puts the caret at position (or the end) and the focus in the edit box.
    void placeCaret(int position);
    /// What the edit box holds, as typed.
    QString text() const;
    QString selectedText() const;
    int selectionStart() const;
    int selectionEnd() const;
    MarkupEdit* textBox() const;
    /// The original's preview, and the assistant's panel beside the edit box.
    PreviewBox* originalPreview() const;
    AssistantPanel* assistantPanel() const;

    /// The question about leaving an edited row, asked once the list has handled
    /// its key or click: true when it was not on its way yet.
    bool queueRowQuestion();
    void rowQuestionAsked() { rowQuestionQueued_ = false; }

  signals:
    /// The user changed the portrait, the colour or the text.
    void contentChanged();
    /// A row was loaded into the editor.
    void rowLoaded(int row);
    void applyClicked();
    /// The button Add: the Insert menu opens at pos (global).
    void addClicked(const QPoint& pos);

  private:
    void setUpFonts();
    void showOriginalRow();
    /// "Row 8 · Rosalind": the row and the speaker the editor holds.
    void showTitle();
    void showPortrait(int number);
    void chkColoured_Click();
    void hsPortrait_Change();
    void txtText_Change();

    std::unique_ptr<Ui::EntryEditor> ui_;
    const StringTableModel* model_ = nullptr;
    QString portraitFolder_;
    std::optional<int> row_;
    // A row is being loaded: its changes are not the user's.
    bool loading_ = false;
    // A colour a revert put into the editor that the check box cannot show.
    std::optional<Colour> revertedColour_;
    // The name an Apply takes after a revert ("Revert to Original").
    QString pendingStep_;
    bool rowQuestionQueued_ = false;
    // The user chose the state in the editor since the row was loaded.
    bool stateChosen_ = false;
};

}  // namespace qm
