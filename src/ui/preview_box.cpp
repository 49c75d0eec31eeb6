#include "preview_box.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "preview/preview.hpp"

namespace qm {

namespace {

const QColor kOverflowRed(255, 0, 0);
const QColor kBoxFrame(90, 90, 90);
constexpr int kBoxColumns = int(kPreviewLineLength);
constexpr int kBoxLines = int(kPreviewLineCount);
// Columns past the box that still show what runs over, and the most rows drawn.
constexpr int kSpareColumns = 4;
constexpr int kMostRows = 8;
constexpr int kColumns = kBoxColumns + kSpareColumns;
// A cell's width, in pixels: the smallest that reads well, and where growing stops.
constexpr int kSmallestCell = 9;
constexpr int kLargestCell = 28;
constexpr int kPadding = 6;
// A character cell is about twice as tall as it is wide, as on the console.
int cellHeight(int cell) {
    return cell * 2 - cell / 4;
}

}  // namespace

PreviewBox::PreviewBox(QWidget* parent) : QWidget(parent), colour_(EntryColour(false)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setMinimumWidth(kColumns * kSmallestCell + 2 * kPadding);
    setMaximumWidth(kColumns * kLargestCell + 2 * kPadding);
}

void PreviewBox::showText(const QString& display) {
    // Tokens and line breaks are ASCII, so the display text's preview is found
    // as the markup's is, a mapped character one column.
    const std::string preview = PreviewText(display.toStdString());
    const QStringList lines = QString::fromStdString(preview).split(u'\n');
    const bool taller = lines.size() != lines_.size();
    if (lines != lines_) {
        anchor_ = caret_ = 0;  // a selection belongs to the text it was made in
    }
    lines_ = lines;
    FixPreview();
    if (taller) {
        fitHeight();
    }
    update();
}

void PreviewBox::setEntryColour(const QColor& colour) {
    if (colour != colour_) {
        colour_ = colour;
        update();
    }
}

void PreviewBox::FixPreview() {
    overflow_.assign(std::size_t(lines_.size()), {});
    for (qsizetype line = 0; line < lines_.size(); ++line) {
        overflow_[std::size_t(line)].assign(std::size_t(lines_[line].size()), false);
    }
    // The core's runs are positions in the text with its line breaks.
    const QList<uint> characters = toPlainText().toUcs4();
    const std::u32string text(characters.begin(), characters.end());
    std::vector<std::pair<std::size_t, std::size_t>> at;  // line and column of each position
    std::size_t line = 0;
    std::size_t column = 0;
    for (const char32_t c : text) {
        at.emplace_back(line, column);
        if (c == U'\n') {
            ++line;
            column = 0;
        } else {
            ++column;
        }
    }
    for (const TextRange& range : OverflowRanges(text)) {
        for (std::size_t i = range.start; i < range.start + range.length; ++i) {
            if (text[i] != U'\n') {
                overflow_[at[i].first][at[i].second] = true;
            }
        }
    }
}

QColor PreviewBox::colourAt(int line, int column) const {
    const bool over = line >= 0 && line < int(overflow_.size()) && column >= 0 &&
                      column < int(overflow_[std::size_t(line)].size()) &&
                      overflow_[std::size_t(line)][std::size_t(column)];
    return over ? kOverflowRed : colour_;
}

int PreviewBox::rowsShown() const {
    return std::clamp(int(lines_.size()), kBoxLines, kMostRows);
}

PreviewBox::Grid PreviewBox::gridFor(int width) const {
    // Measuring fonts is the costly part, and layouts ask again and again.
    const int cell = std::clamp((width - 2 * kPadding) / kColumns, kSmallestCell, kLargestCell);
    if (cached_.cell == cell) {
        return cached_;
    }
    cached_ = measureGrid(width);
    return cached_;
}

PreviewBox::Grid PreviewBox::measureGrid(int width) {
    Grid grid;
    grid.cell = std::clamp((width - 2 * kPadding) / kColumns, kSmallestCell, kLargestCell);
    grid.height = cellHeight(grid.cell);
    // The largest fixed-pitch font whose widest glyph fits a cell.
    grid.font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    grid.font.setStyleHint(QFont::TypeWriter);
    for (int pixels = grid.height - grid.height / 5; pixels > 4; --pixels) {
        grid.font.setPixelSize(pixels);
        const QFontMetrics metrics(grid.font);
        if (metrics.horizontalAdvance(QLatin1Char('W')) <= grid.cell &&
            metrics.height() <= grid.height) {
            break;
        }
    }
    return grid;
}

int PreviewBox::heightForWidth(int width) const {
    return rowsShown() * gridFor(width).height + 2 * kPadding;
}

QSize PreviewBox::sizeHint() const {
    const int width = maximumWidth();
    return {width, heightForWidth(width)};
}

QSize PreviewBox::minimumSizeHint() const {
    const int width = minimumWidth();
    return {width, heightForWidth(width)};
}

void PreviewBox::fitHeight() {
    // Every line shows, so the box asks for the height its width needs.
    setMinimumHeight(heightForWidth(width()));
    updateGeometry();
}

void PreviewBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitHeight();
}

void PreviewBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const Grid grid = gridFor(width());
    // The grid stands in the middle of what the layout gave the box.
    const int left = (width() - kColumns * grid.cell) / 2;
    const int top = kPadding;
    painter.setPen(isEnabled() ? kBoxFrame : kBoxFrame.darker());
    painter.drawRect(left - 2, top - 2, kBoxColumns * grid.cell + 3, kBoxLines * grid.height + 3);
    painter.setFont(grid.font);
    const QFontMetrics metrics(grid.font);
    painted_.clear();
    const int rows = rowsShown();
    int lineStart = 0;  // the line's first position in toPlainText()
    for (int line = 0; line < std::min(int(lines_.size()), rows); ++line) {
        const QString& text = lines_[line];
        const bool cut = line == rows - 1 && int(lines_.size()) > rows;
        for (int column = 0; column < std::min(int(text.size()), kColumns); ++column) {
            const QRect cell(left + column * grid.cell, top + line * grid.height, grid.cell,
                             grid.height);
            const bool more = column == kColumns - 1 && (text.size() > kColumns || cut);
            const QString glyph = more ? QStringLiteral("\u00bb") : QString(text[column]);
            if (selected(lineStart + column)) {
                painter.fillRect(cell, palette().color(QPalette::Active, QPalette::Highlight));
            }
            painter.setPen(colourAt(line, column));
            painter.drawText(cell, Qt::AlignCenter, glyph);
            painted_.push_back(
                {line, column, cell, metrics.boundingRect(cell, Qt::AlignCenter, glyph)});
        }
        lineStart += int(text.size()) + 1;
    }
}

void PreviewBox::setSelectable(bool selectable) {
    selectable_ = selectable;
    setCursor(selectable ? Qt::IBeamCursor : Qt::ArrowCursor);
}

bool PreviewBox::selected(int position) const {
    return position >= std::min(anchor_, caret_) && position < std::max(anchor_, caret_);
}

QString PreviewBox::selectedText() const {
    const int from = std::min(anchor_, caret_);
    return toPlainText().mid(from, std::max(anchor_, caret_) - from).replace(u'\n', u' ').trimmed();
}

void PreviewBox::select(int position, int length) {
    anchor_ = position;
    caret_ = position + length;
    update();
}

int PreviewBox::positionAt(const QPoint& point, bool border) const {
    if (lines_.isEmpty()) {
        return 0;
    }
    const Grid grid = gridFor(width());
    const int left = (width() - kColumns * grid.cell) / 2;
    const int line = std::clamp((point.y() - kPadding) / grid.height, 0, int(lines_.size()) - 1);
    const int shift = border ? grid.cell / 2 : 0;
    const int column = std::clamp((point.x() - left + shift) / grid.cell, 0,
                                  std::min(int(lines_[line].size()), kColumns));
    int position = column;
    for (int before = 0; before < line; ++before) {
        position += int(lines_[before].size()) + 1;
    }
    return position;
}

void PreviewBox::selectWordAt(int position) {
    const QString text = toPlainText();
    const auto inWord = [&text](int at) {
        return at >= 0 && at < text.size() && text[at].isLetterOrNumber();
    };
    int from = position;
    int to = position;
    while (inWord(from - 1)) {
        --from;
    }
    while (inWord(to)) {
        ++to;
    }
    select(from, to - from);
}

void PreviewBox::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (!selectable_) {
        return;
    }
    if (event->button() == Qt::LeftButton) {
        anchor_ = caret_ = positionAt(event->pos(), true);
        update();
    } else if (event->button() == Qt::RightButton && !selected(positionAt(event->pos(), false))) {
        selectWordAt(positionAt(event->pos(), false));
    }
}

void PreviewBox::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    if (selectable_ && (event->buttons() & Qt::LeftButton)) {
        caret_ = positionAt(event->pos(), true);
        update();
    }
}

void PreviewBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QWidget::mouseDoubleClickEvent(event);
    if (selectable_ && event->button() == Qt::LeftButton) {
        selectWordAt(positionAt(event->pos(), false));
    }
}

void PreviewBox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (buddy_ != nullptr) {
        buddy_->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace qm
