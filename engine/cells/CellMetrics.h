#pragma once

#include <QtGlobal>

// The box of one glyph of the output font at `detail` points, in pixels at 96 dots per inch.
struct CellSize
{
    int width = 0;
    int height = 0;
};

// Taken from the published metrics of the output font (advance 0.6 em, ascent plus descent
// one em) rather than measured, so every machine cuts the same cells. Detail 0 gives 0 x 0.
CellSize cellSizeFor(quint8 detail);
