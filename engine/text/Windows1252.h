#pragma once

#include <QByteArray>
#include <QString>

// The 8-bit code page of every text file the program reads or writes. The five bytes the
// code page leaves undefined map to the control characters of the same value, so any byte
// string survives a round trip.
namespace Windows1252 {

// Whether the code page holds the character.
bool holds(char32_t codePoint);

// A character the code page cannot hold becomes "?" (one per character, not per UTF-16 unit).
QByteArray encode(QStringView text);
QString decode(QByteArrayView bytes);

} // namespace Windows1252
