#pragma once

#include "engine/cells/ArtColours.h"

#include <QByteArray>

// The colour `--colour auto` gives art on a terminal, by what the environment says of it: none
// when NO_COLOR is set and not empty; truecolour when COLORTERM says truecolor or 24bit; 256 when
// TERM names a terminal of 256 colours; else the 16 every colour terminal has.
ColourDepth autoColourDepth(const QByteArray &noColour, const QByteArray &colorTerm, const QByteArray &term);
// The same from the process's environment.
ColourDepth autoColourDepth();
