#include "engine/cells/ArtColours.h"

#include "engine/cells/ColourPalettes.h"

modColour::Colour shadeOnFill(modColour::Colour fill)
{
    // Dark enough to read as a character close up, light enough that the cell still reads as
    // its colour from afar.
    const auto darker = [&](int shift) { return ((fill >> shift) & 0xFF) * 5 / 8; };
    return modColour::RGB(darker(0), darker(8), darker(16));
}

modColour::Colour characterColourOf(modColour::Colour cell, ColourLook look, ColourDepth depth)
{
    if (look == ColourLook::characters)
        return cell;
    const modColour::Colour shade = ColourPalettes::reduced(shadeOnFill(cell), depth);
    if (shade != cell || depth != ColourDepth::palette16)
        return shade;
    return ColourPalettes::colourOf16(cell == ColourPalettes::colourOf16(0) ? 8 : 0);
}
