#pragma once

#include "engine/cells/CellGrid.h"
#include "engine/cells/modColour.h"

#include <memory>

struct ColourTable;

// How many colours the art is written in: none (black characters, as ever), the 16 colours every
// colour terminal has, the 256 of xterm's palette, or each cell's mean as it is.
enum class ColourDepth { none, palette16, palette256, truecolour };

// The two looks of colour art: each character drawn in its cell's colour on the ground, or each
// cell filled with its colour and its character drawn in a darker shade of it.
enum class ColourLook { characters, fills };

// The colours of the art's cells beside its rows, one a character, already reduced to the depth
// they are written in; empty for art without colour.
struct ArtColours
{
    CellGrid<modColour::Colour> cells;
    ColourDepth depth = ColourDepth::none;
    ColourLook look = ColourLook::characters;
    // The table of the colours, for a kind that lists them before the rows; null unless made.
    std::shared_ptr<const ColourTable> table;

    bool empty() const { return cells.cells.empty(); }
};

// The colour a character of a cell of colour `cell` is drawn in on a dark ground: the cell's hue
// at the light of white, each channel at most full. How much ink the character takes already says
// how light the cell is; drawn in the cell's own colour its light would count twice, and the middle
// tones would sink towards black. A grey cell, black too, gives white.
modColour::Colour colourOnDark(modColour::Colour cell);

// The colour a filled cell's character is drawn in: the cell's colour, darker.
modColour::Colour shadeOnFill(modColour::Colour fill);

// The colour of the character of a cell of colour `cell`: its own, or on a fill its darker
// shade as the art's depth holds it (among the 16, one that is not the fill's own).
modColour::Colour characterColourOf(modColour::Colour cell, ColourLook look, ColourDepth depth);
