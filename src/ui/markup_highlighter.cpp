#include "markup_highlighter.h"

#include "markup/charmap.hpp"
#include "markup/display.hpp"
#include "project/assistant.hpp"

namespace qm {

namespace {

// Apart from the red of what cannot be saved, and readable on either theme.
const QColor kMisspeltBlue(40, 110, 235);

}  // namespace

std::vector<MarkupProblem> ProblemsOf(const QString& text, const CharacterMap& map) {
    return CheckDisplay(text.toStdString(), map);
}

int Utf16Position(const QString& text, std::size_t position) {
    int at = 0;
    for (std::size_t n = 0; n < position && at < text.size(); ++n) {
        at += text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
    }
    return at;
}

void MarkupHighlighter::setCharacterMap(const CharacterMap* map) {
    map_ = map;
    rehighlight();
}

void MarkupHighlighter::setSpelling(const TranslationAssistant* assistant) {
    spelling_ = assistant;
    rehighlight();
}

void MarkupHighlighter::highlightBlock(const QString& text) {
    static const CharacterMap none;
    underlineMisspelt(text);  // first, so that red wins where both fall
    QTextCharFormat wavy;
    wavy.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    wavy.setUnderlineColor(Qt::red);
    for (const MarkupProblem& problem : ProblemsOf(text, map_ ? *map_ : none)) {
        wavy.setToolTip(QString::fromStdString(problem.reason));
        const int from = Utf16Position(text, problem.position);
        setFormat(from, Utf16Position(text, problem.position + problem.length) - from, wavy);
    }
}

void MarkupHighlighter::underlineMisspelt(const QString& text) {
    if (spelling_ == nullptr || spelling_->spelling() == nullptr) {
        return;
    }
    QTextCharFormat wavy;
    wavy.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    wavy.setUnderlineColor(kMisspeltBlue);
    for (const SpellingWord& word : spelling_->misspeltIn(text.toStdString())) {
        wavy.setToolTip(QString::fromStdString(MisspeltMessage(*spelling_->spelling(), word.word)));
        const int from = Utf16Position(text, word.position);
        setFormat(from, Utf16Position(text, word.position + word.length) - from, wavy);
    }
}

}  // namespace qm
