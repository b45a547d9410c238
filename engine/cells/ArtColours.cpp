#include "engine/cells/ArtColours.h"

#include "engine/cells/ColourPalettes.h"
#include "engine/cells/Lightness.h"

modColour::Colour shadeOnFill(modColour::Colour fill)
{
    // Dark enough to read as a character close up, light enough that the cell still reads as
    // its colour from afar.
    const auto darker = [&](int shift) { return ((fill >> shift) & 0xFF) * 5 / 8; };
    return modColour::RGB(darker(0), darker(8), darker(16));
}

modColour::Colour colourOnDark(modColour::Colour cell)
{
    const auto &linear = Lightness::linearOfLevel();
    const double red = linear[std::size_t(modColour::GetRed(cell))];
    const double green = linear[std::size_t(modColour::GetGreen(cell))];
    const double blue = linear[std::size_t(modColour::GetBlue(cell))];
    const double light = Lightness::redWeight * red + Lightness::greenWeight * green + Lightness::blueWeight * blue;
    if (light <= 0)
        return modColour::RGB(255, 255, 255);
    const auto atWhite = [&](double channel) { return Lightness::levelOf(channel / light); };
    return modColour::RGB(atWhite(red), atWhite(green), atWhite(blue));
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
