#pragma once
// The edit box txtText: a plain-text edit whose line breaks are "(return)"
// tokens. Enter puts in a "(return)" token; Delete in front of a token and
// Backspace after one remove the whole token, and what is inserted inside a token
// goes after it; pasted or dropped line breaks arrive as tokens. What the game
// cannot take has a red wavy underline, its reason in a tooltip; a misspelt word
// a blue one.

#include <QPlainTextEdit>
#include <map>

class QMenu;

namespace qm {

class CharacterMap;
class MarkupHighlighter;
class TranslationAssistant;

class MarkupEdit : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit MarkupEdit(QWidget* parent = nullptr);

    /// text with each line break (CR LF, CR, LF, a line or paragraph separator)
    /// written as "(return)", the only line break a ROM text knows.
    static QString withReturnTokens(QString text);

    /// The character map the box's display text is read with (it must outlive
    /// the box); the underlines follow it.
    void setCharacterMap(const CharacterMap* map);
    /// Underlines the words the assistant's dictionary does not know (it must
    /// outlive the box); recheckSpelling() after its dictionary or words change.
    void setSpelling(const TranslationAssistant* assistant);
    void recheckSpelling();

    /// Replaces the selection (or inserts at the caret) with text as one undo
    /// step of its own, leaving the caret after it.
    void insertAsOneStep(const QString& text);

    /// Undoes the last step; undoing a token's deletion puts the caret back
    /// before the token.
    void undoStep();

  signals:
    /// The context menu is about to open at position (in the text): items may
    /// be added to menu before it shows.
    void contextMenuOpening(QMenu* menu, int position);

  protected:
    bool viewportEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // A raw line break would be saved as a stray byte, not as a line break.
    void insertFromMimeData(const QMimeData* source) override;
    // A file dropped here is for the window to open, not text to insert.
    bool canInsertFromMimeData(const QMimeData* source) const override;

  private:
    /// Where a Delete key down stands: before it, while it is handled, after.
    enum class DeleteState { Idle, Handling, Handled };

    bool removeTokenAtCaret();
    bool removeTokenBeforeCaret();
    void restoreCaretAfterDelete();

    MarkupHighlighter* highlighter_;
    DeleteState deleteState_ = DeleteState::Idle;
    // Where the caret stood before each token a Delete removed, by the number of
    // undo steps right after the removal.
    std::map<int, int> caretBeforeRemovedToken_;
    int deleteCaret_ = 0;
    // From the key down of an Enter, or of a Delete that removed a token, until the
    // key goes up, the key's own action (a line break, a character) is held back.
    bool locked_ = false;
};

}  // namespace qm
