#pragma once

#include "engine/cells/CellGrid.h"

#include <QtGlobal>

// What a run measures of each cell: its grey, and when asked for, its mean linear light.
struct CellTones
{
    CellGrid<quint8> grey;   // GreyColour of the cell's mean colour, 0 ... 255
    CellGrid<float> light;   // relative luminance averaged in linear light, 0 ... 1; empty unless asked for

    // Adds the rows of `below` under these; both measured alike, with the same columns.
    void append(const CellTones &below)
    {
        grey.append(below.grey);
        light.append(below.light);
    }
};
