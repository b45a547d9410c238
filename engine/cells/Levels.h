#pragma once

#include "engine/cells/CellGrid.h"

// A stretch of perceived lightness (CIE L* over 100): `dark` goes to 0, `light` to 1, and what
// lies beyond either is held there. The identity by default.
struct Levels
{
    double dark = 0;
    double light = 1;

    double stretch(double lightness) const;
};

// The levels that take the darkest 1 % of the cells to 0 and the lightest 1 % to 1, from the
// cells' mean linear light; the identity for a picture of one lightness throughout.
Levels levelsOf(const CellGrid<float> &light);
