#pragma once

#include <QtGlobal>

// The pixel box of one glyph of the output font at `detail` points.
struct CellBox
{
    int width = 0;
    int height = 0;
};

CellBox cellBoxForDetail(quint8 detail);
