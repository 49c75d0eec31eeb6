#include "row_marks.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStringList>

#include "text.hpp"
#include "translation/row_state.hpp"

namespace qm {

namespace {

constexpr int kSlot = 11;  // pixels per mark

enum Problem { kNoProblem, kOverflow, kUnsaveable, kWarning };
enum Progress { kNoProgress, kUntranslated, kChanged };

void drawProblem(QPainter& painter, Problem problem) {
    const QRectF box(1, 1, kSlot - 2, kSlot - 2);
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    if (problem == kUnsaveable) {
        painter.setBrush(QColor(220, 40, 40));
        painter.drawEllipse(box);
        painter.setPen(QPen(Qt::white, 1.6));
        painter.drawLine(QPointF(3.5, 3.5), QPointF(kSlot - 3.5, kSlot - 3.5));
        painter.drawLine(QPointF(kSlot - 3.5, 3.5), QPointF(3.5, kSlot - 3.5));
    } else if (problem == kOverflow) {
        QPainterPath triangle;
        triangle.moveTo(box.center().x(), box.top());
        triangle.lineTo(box.bottomRight());
        triangle.lineTo(box.bottomLeft());
        triangle.closeSubpath();
        painter.setBrush(QColor(245, 150, 20));
        painter.drawPath(triangle);
    } else if (problem == kWarning) {
        // An exclamation mark on yellow: a level below the problems.
        painter.setBrush(QColor(250, 215, 40));
        painter.drawRoundedRect(box.adjusted(1, 0, -1, 0), 1.5, 1.5);
        painter.setPen(QPen(QColor(40, 40, 40), 1.6));
        painter.drawLine(QPointF(kSlot / 2.0, 3), QPointF(kSlot / 2.0, kSlot - 4.5));
        painter.drawPoint(QPointF(kSlot / 2.0, kSlot - 2.6));
    }
}

void drawReview(QPainter& painter, ReviewState review) {
    const QRectF box(2 * kSlot + 1, 1, kSlot - 2, kSlot - 2);
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    if (review == ReviewState::Draft) {  // a grey square: written, not reviewed
        painter.setBrush(QColor(170, 170, 170));
        painter.drawRect(box.adjusted(1.5, 1.5, -1.5, -1.5));
    } else if (review == ReviewState::NeedsReview) {  // an amber question
        painter.setBrush(QColor(240, 160, 20));
        painter.drawEllipse(box);
        painter.setPen(QPen(Qt::white, 1.4));
        QFont font = painter.font();
        font.setPixelSize(kSlot - 2);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(box, Qt::AlignCenter, QStringLiteral("?"));
    } else if (review == ReviewState::Approved) {  // a green tick
        painter.setPen(QPen(QColor(255, 255, 255), 3.2, Qt::SolidLine, Qt::RoundCap));
        const QPolygonF tick({{box.left() + 1, box.center().y()},
                              {box.center().x() - 0.5, box.bottom() - 1},
                              {box.right(), box.top() + 1}});
        painter.drawPolyline(tick);
        painter.setPen(QPen(QColor(30, 150, 60), 1.8, Qt::SolidLine, Qt::RoundCap));
        painter.drawPolyline(tick);
    }
}

void drawProgress(QPainter& painter, Progress progress) {
    const QRectF box(kSlot + 2, 2, kSlot - 4, kSlot - 4);
    if (progress == kChanged) {
        // A diamond in a white edge: no ring, and it stands out on a selected row.
        const QPointF c = box.center();
        const qreal r = box.width() / 2 + 1.5;
        const QPolygonF diamond(
            {{c.x(), c.y() - r}, {c.x() + r, c.y()}, {c.x(), c.y() + r}, {c.x() - r, c.y()}});
        painter.setPen(QPen(Qt::white, 1.2));
        painter.setBrush(QColor(20, 80, 200));
        painter.drawPolygon(diamond);
    } else if (progress == kUntranslated) {
        painter.setPen(QPen(QColor(150, 150, 150), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(box);
    }
}

}  // namespace

QSize RowMarkSize() {
    return {3 * kSlot, kSlot};
}

QIcon RowMark(const RowState& state, bool warned) {
    const Problem problem = state.unsaveable()  ? kUnsaveable
                            : state.overflows() ? kOverflow
                            : warned            ? kWarning
                                                : kNoProblem;
    const Progress progress = state.changed          ? kChanged
                              : state.untranslated() ? kUntranslated
                                                     : kNoProgress;
    // 48 icons at most, drawn once each; a row with nothing to show gets a
    // blank one, so that every number stands in the same place.
    static QHash<int, QIcon> drawn;
    const int key = (problem * 3 + progress) * 4 + int(state.review);
    if (!drawn.contains(key)) {
        QPixmap picture(RowMarkSize());
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        drawProblem(painter, problem);
        drawProgress(painter, progress);
        drawReview(painter, state.review);
        painter.end();
        drawn.insert(key, QIcon(picture));
    }
    return drawn.value(key);
}

QString RowStateText(const RowState& state, const std::string& note) {
    QStringList lines;
    if (state.problem) {
        lines << QStringLiteral("Cannot be saved: character %1: %2")
                     .arg(state.problem->position + 1)
                     .arg(QString::fromStdString(state.problem->reason));
    }
    for (const OverflowLine& line : state.overflow) {
        lines << QStringLiteral("Overflows the text box: line %1 has %2 past the box")
                     .arg(line.line)
                     .arg(QString::fromStdString(Counted(line.over, "character", "characters")));
    }
    if (state.changed) {
        lines << QStringLiteral("Changed since the file was loaded or saved");
    }
    if (state.untranslated()) {
        lines << QStringLiteral("Untranslated: the same as the original");
    } else if (state.translated()) {
        lines << QStringLiteral("Translated");
    }
    if (state.review != ReviewState::None) {
        const std::string_view name = ReviewStateName(state.review);
        lines << QString::fromUtf8(name.data(), qsizetype(name.size()));
    }
    if (!note.empty()) {
        lines << QStringLiteral("Note: ") + QString::fromStdString(note);
    }
    return lines.join(u'\n');
}

}  // namespace qm
