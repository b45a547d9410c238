#pragma once

#include "engine/cells/ArtColours.h"

// The palettes of terminals, and the nearest of their colours to any other.
namespace ColourPalettes {

// xterm's 256 colours: 0 ... 15 the 16 below, 16 ... 231 the 6 x 6 x 6 cube, 232 ... 255 the
// ramp of greys. 0 <= index < 256.
modColour::Colour colourOf256(int index);
// The nearest of indices 16 ... 255 to `colour`; the first 16 are left out, since terminals
// give them colours of their own.
int nearest256(modColour::Colour colour);

// The 16 colours as xterm shows them: black, red, green, yellow, blue, magenta, cyan, white,
// then their bright forms. 0 <= index < 16.
modColour::Colour colourOf16(int index);
int nearest16(modColour::Colour colour);

// `colour` as written at `depth`: the nearest of the palette's, or itself for truecolour.
modColour::Colour reduced(modColour::Colour colour, ColourDepth depth);

} // namespace ColourPalettes
