#include "engine/cells/CellMetrics.h"

#include <cmath>

CellSize cellSizeFor(quint8 detail)
{
    const double pixelsPerEm = std::nearbyint(detail * 96.0 / 72.0);
    const double advance = std::nearbyint(pixelsPerEm * 1229.0 / 2048.0);
    return {int(advance), int(pixelsPerEm)};
}
