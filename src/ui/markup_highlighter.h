#pragma once
// Marks what the game cannot take in the edit box as the user types: a red wavy
// underline under each piece the encoder would refuse, from the same check; and,
// with a dictionary, a blue one under each misspelt word.

#include <QSyntaxHighlighter>
#include <vector>

#include "markup/encoder.hpp"

namespace qm {

class CharacterMap;
class TranslationAssistant;

/// The problems of one line of the edit box (display text with map), positions
/// in characters. A character no code stands for is a problem of its own.
std::vector<MarkupProblem> ProblemsOf(const QString& text, const CharacterMap& map);

/// Where the character at position (counted in characters, as the core counts
/// them) stands in text, counted in UTF-16 units as QString counts them.
int Utf16Position(const QString& text, std::size_t position);

class MarkupHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
  public:
    using QSyntaxHighlighter::QSyntaxHighlighter;
    /// Reads the text with map from now on (nothing: no map).
    void setCharacterMap(const CharacterMap* map);
    /// Underlines the words assistant's dictionary does not know (nothing: none).
    void setSpelling(const TranslationAssistant* assistant);

  protected:
    void highlightBlock(const QString& text) override;

  private:
    void underlineMisspelt(const QString& text);

    const CharacterMap* map_ = nullptr;
    const TranslationAssistant* spelling_ = nullptr;
};

}  // namespace qm
