#include "markup_highlighter.h"

#include "markup/charmap.hpp"
#include "markup/display.hpp"

namespace qm {

std::vector<MarkupProblem> ProblemsOf(const QString& text, const CharacterMap& map) {
    return CheckDisplay(text.toStdString(), map);
}

void MarkupHighlighter::setCharacterMap(const CharacterMap* map) {
    map_ = map;
    rehighlight();
}

void MarkupHighlighter::highlightBlock(const QString& text) {
    static const CharacterMap none;
    QTextCharFormat wavy;
    wavy.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    wavy.setUnderlineColor(Qt::red);
    for (const MarkupProblem& problem : ProblemsOf(text, map_ ? *map_ : none)) {
        wavy.setToolTip(QString::fromStdString(problem.reason));
        setFormat(int(problem.position), int(problem.length), wavy);
    }
}

}  // namespace qm
