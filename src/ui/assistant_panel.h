#pragma once
// The assistant's panel beside the edit box, lstAssistant: the glossary's terms
// found in the selected row's original (term -> translation, the notes as
// tooltip), numbered for Ctrl+1..Ctrl+9, and the suggestions from the
// translation so far (score, whether it fits the box), numbered for
// Ctrl+Alt+1..Ctrl+Alt+5. Activating an item asks for what its key does.

#include <QListWidget>
#include <span>

#include "project/assistant.hpp"

namespace qm {

/// The terms and suggestions that have keys.
inline constexpr int kTermKeys = 9;
inline constexpr int kSuggestionKeys = 5;

class AssistantPanel : public QListWidget {
    Q_OBJECT
  public:
    explicit AssistantPanel(QWidget* parent = nullptr);

    /// Shows terms (under a heading only while a glossary is in use: glossary)
    /// and suggestions; assistant names their further sources.
    void showHelp(bool glossary, std::span<const FoundTerm> terms,
                  std::span<const Suggestion> suggestions, const TranslationAssistant& assistant);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  signals:
    /// An item was activated: term or suggestion n (0-based).
    void termChosen(int n);
    void suggestionChosen(int n);

  private:
    /// Each item as wide as the panel, so that a long text ends in "...".
    void fitItems();
    void addHeading(const QString& text);
    /// A line that says there is nothing to show.
    void addNothing(const QString& text);
    void addTerm(int n, const FoundTerm& term);
    void addSuggestion(int n, const Suggestion& suggestion, const TranslationAssistant& assistant);
};

}  // namespace qm
