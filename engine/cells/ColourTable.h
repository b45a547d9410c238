#pragma once

#include "engine/cells/ArtColours.h"

#include <vector>

// The colours a kind with a table of colours (RTF) lists for the art: every colour its cells and
// characters are drawn in, when they are at most `largest`; otherwise each is taken to the
// nearest of xterm's cube and greys, of which there are 240.
struct ColourTable
{
    std::vector<modColour::Colour> colours; // in ascending order, each once
    bool reduced = false;

    // The colour's place in `colours`; `colour` is one the art is drawn in.
    int indexOf(modColour::Colour colour) const;
};

ColourTable colourTableOf(const ArtColours &art, std::size_t largest = 255);
