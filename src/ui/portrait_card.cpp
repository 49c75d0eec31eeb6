#include "portrait_card.h"

#include <QDir>
#include <QPainter>
#include <QStringList>
#include <array>

#include "markup/portraits.hpp"

namespace qm {

namespace {

constexpr int kCardSize = 108;

QColor cardColour(int number) {
    static const std::array<QColor, 9> colours = {
        QColor(90, 90, 90),   QColor(196, 92, 120),  QColor(70, 120, 190),
        QColor(120, 96, 60),  QColor(200, 150, 40),  QColor(70, 150, 90),
        QColor(150, 90, 180), QColor(110, 110, 140), QColor(190, 60, 50)};
    return colours.at(static_cast<std::size_t>(number - kPortraitMin));
}

QString initialsOf(const QString& name) {
    QString initials;
    for (const QString& word : name.split(u' ', Qt::SkipEmptyParts)) {
        if (word.endsWith(u'.')) {
            continue;  // titles such as "Ms." and "Mr."
        }
        initials += word.front();
    }
    return initials.isEmpty() ? name.left(2) : initials;
}

void drawText(QPainter& painter, const QRect& box, const QString& text, int pointSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    font.setBold(bold);
    painter.setFont(font);
    painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, text);
}

}  // namespace

QString PortraitFileName(int number) {
    return QString::number(number) + QStringLiteral(".bmp");
}

QImage DrawPortraitCard(int number) {
    const QString name = QString::fromLatin1(GetPortraitName(static_cast<std::int16_t>(number)));
    QImage image(kCardSize, kCardSize, QImage::Format_RGB32);
    image.fill(cardColour(number));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(cardColour(number).lighter(160), 4));
    painter.drawRoundedRect(QRectF(4, 4, kCardSize - 8, kCardSize - 8), 10, 10);
    painter.setPen(Qt::white);
    drawText(painter, QRect(8, 12, kCardSize - 16, 52), initialsOf(name), 26, true);
    drawText(painter, QRect(8, 64, kCardSize - 16, 36), name, 9, false);
    return image;
}

bool WritePortraitCards(const QString& folder) {
    const QDir dir(folder);
    for (int number = kPortraitMin; number <= kPortraitMax; ++number) {
        if (!DrawPortraitCard(number).save(dir.filePath(PortraitFileName(number)), "BMP")) {
            return false;
        }
    }
    return true;
}

}  // namespace qm
