#pragma once

#include "engine/cells/CellGrid.h"
#include "engine/cells/CellQuarters.h"
#include "engine/cells/modColour.h"

#include <QtGlobal>

// What a run measures of each cell: its grey, and when asked for, its mean linear light and its
// mean colour.
struct CellTones
{
    CellGrid<quint8> grey;   // GreyColour of the cell's mean colour, 0 ... 255
    CellGrid<float> light;   // relative luminance averaged in linear light, 0 ... 1; empty unless asked for
    CellGrid<Quarters<float>> lightQuarters; // the same over each quarter of the cell, kept with it
    CellGrid<modColour::Colour> colour; // the mean colour the grey is taken of; empty unless asked for

    // Adds the rows of `below` under these; both measured alike, with the same columns.
    void append(const CellTones &below)
    {
        grey.append(below.grey);
        light.append(below.light);
        lightQuarters.append(below.lightQuarters);
        colour.append(below.colour);
    }
};
