#pragma once
// Marks what the game cannot take in the edit box as the user types: a red wavy
// underline under each piece the encoder would refuse, from the same check.

#include <QSyntaxHighlighter>
#include <vector>

#include "markup/encoder.hpp"

namespace qm {

class CharacterMap;

/// The problems of one line of the edit box (display text with map), positions
/// in characters. A character no code stands for is a problem of its own.
std::vector<MarkupProblem> ProblemsOf(const QString& text, const CharacterMap& map);

class MarkupHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
  public:
    using QSyntaxHighlighter::QSyntaxHighlighter;
    /// Reads the text with map from now on (nothing: no map).
    void setCharacterMap(const CharacterMap* map);

  protected:
    void highlightBlock(const QString& text) override;

  private:
    const CharacterMap* map_ = nullptr;
};

}  // namespace qm
