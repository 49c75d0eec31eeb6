#pragma once
// The pictures shown beside an entry: one card per portrait number, drawn for
// this editor (a coloured card with the speaker's initials and name). Users may
// replace the bitmap files with pictures of their own.

#include <QImage>
#include <QString>

namespace qm {

/// File name of the bitmap for a portrait number: "-1.bmp", "0.bmp" .. "7.bmp".
QString PortraitFileName(int number);

/// The card for a portrait number (-1..7), 108 x 108 pixels. Needs a
/// QGuiApplication for its fonts.
QImage DrawPortraitCard(int number);

/// Writes the nine cards into folder; false when one could not be written.
bool WritePortraitCards(const QString& folder);

}  // namespace qm
