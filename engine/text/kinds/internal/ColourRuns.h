#pragma once

#include "engine/cells/modColour.h"

#include <QString>
#include <span>
#include <vector>

// A row of art in colour cut where the colour changes, so that each kind switches colour only
// there.
struct ColourRun
{
    QStringView text;
    modColour::Colour colour = 0;
};

// `colours` holds one colour a character of `rowText` (a surrogate pair is one character).
std::vector<ColourRun> colourRunsOf(const QString &rowText, std::span<const modColour::Colour> colours);
