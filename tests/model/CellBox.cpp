#include "CellBox.h"

#include <cmath>

// Pixels per em at 96 dots per inch; the glyph is as tall as the em and 1229/2048 of it wide.
CellBox cellBoxForDetail(quint8 detail)
{
    const int ppem = int(std::nearbyint(detail * 96.0 / 72.0));
    return CellBox{int(std::nearbyint(ppem * 1229.0 / 2048.0)), ppem};
}
