#pragma once

#include <QString>
#include <QtGlobal>
#include <array>
#include <span>
#include <vector>

// The grey bands of a ramp: rampChar(k) is drawn for greys rampLimit(k) <= t < rampLimit(k + 1),
// k = 0 the darkest. A ramp character is one Unicode character (a surrogate pair stays whole).
struct RampTables
{
    std::vector<qint16> rampLimit;   // L + 1 entries, 0 first and 256 last
    std::vector<QString> rampChar;   // L entries, the ramp reversed
    std::array<qsizetype, 256> bandOfGrey{}; // the band of each grey, of any ramp length; -1 only for an empty ramp
};

// `ramp` runs from light to dark.
RampTables buildRampTables(const QString &ramp);

// The characters of one row of cell greys, left to right.
QString assembleRow(std::span<const quint8> greys, const RampTables &tables);

// The ramp's characters in the opposite order, a surrogate pair kept whole.
QString reversedRamp(const QString &ramp);

// Each character of the ramp once, where it first comes, a surrogate pair kept whole.
std::vector<QString> distinctCharacters(const QString &ramp);
