#include "engine/cells/ColourTable.h"

#include "engine/cells/ColourPalettes.h"

#include <algorithm>

int ColourTable::indexOf(modColour::Colour colour) const
{
    const modColour::Colour listed = reduced ? ColourPalettes::reduced(colour, ColourDepth::palette256) : colour;
    return int(std::lower_bound(colours.begin(), colours.end(), listed) - colours.begin());
}

ColourTable colourTableOf(const ArtColours &art, std::size_t largest)
{
    ColourTable table;
    table.colours = art.cells.cells;
    if (art.look == ColourLook::fills) {
        for (const modColour::Colour cell : art.cells.cells)
            table.colours.push_back(characterColourOf(cell, art.look, art.depth));
    }
    const auto distinct = [&] {
        std::sort(table.colours.begin(), table.colours.end());
        table.colours.erase(std::unique(table.colours.begin(), table.colours.end()), table.colours.end());
    };
    distinct();
    if (table.colours.size() > largest) {
        for (modColour::Colour &colour : table.colours)
            colour = ColourPalettes::reduced(colour, ColourDepth::palette256);
        distinct();
        table.reduced = true;
    }
    return table;
}
