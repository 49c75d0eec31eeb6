#include "markup_highlighter.h"

#include "text.hpp"

namespace qm {

std::vector<MarkupProblem> ProblemsOf(const QString& text) {
    // A stand-in the check refuses keeps every position where it is.
    QString latin1 = text;
    std::vector<std::pair<qsizetype, char32_t>> wide;
    for (qsizetype i = 0; i < latin1.size(); ++i) {
        if (latin1.at(i).unicode() > 0xFF) {
            const char32_t code = QStringView(text).mid(i).toUcs4().value(0);
            wide.emplace_back(i, code);
            latin1[i] = QChar(0x01);
        }
    }
    std::vector<MarkupProblem> problems = CheckMarkup(latin1.toLatin1().toStdString());
    for (auto& problem : problems) {
        for (const auto& [at, code] : wide) {
            if (std::size_t(at) == problem.position && problem.length == 1) {
                problem.reason = DescribeCharacter(code) + " is a character no ROM text can hold";
            }
        }
    }
    return problems;
}

void MarkupHighlighter::highlightBlock(const QString& text) {
    QTextCharFormat wavy;
    wavy.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    wavy.setUnderlineColor(Qt::red);
    for (const MarkupProblem& problem : ProblemsOf(text)) {
        wavy.setToolTip(QString::fromStdString(problem.reason));
        setFormat(int(problem.position), int(problem.length), wavy);
    }
}

}  // namespace qm
