#pragma once
// Marks what the game cannot take in the edit box as the user types: a red wavy
// underline under each piece the encoder would refuse, from the same check.

#include <QSyntaxHighlighter>
#include <vector>

#include "markup/encoder.hpp"

namespace qm {

/// The problems of one line of the edit box, positions in QString units. A
/// character beyond Latin-1 is a problem of its own.
std::vector<MarkupProblem> ProblemsOf(const QString& text);

class MarkupHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
  public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

  protected:
    void highlightBlock(const QString& text) override;
};

}  // namespace qm
