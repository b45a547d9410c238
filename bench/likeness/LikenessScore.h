#pragma once

#include "bench/likeness/Plane.h"
#include "engine/cells/CellMetrics.h"

// How much a drawing looks like its photo when seen from where each cell blends into one shade.
struct Likeness
{
    double tone = 0;     // correlation of the shades at the cell centres, one cell's blur
    double detail = 0;   // the same at the half-cell centres, half a cell's blur
    double contrast = 0; // the art's spread of shades at the cell centres over the photo's
};

// Scores `art` against `photo`: one channel each, in linear light, of the same size, cut into
// whole cells of `cell` from the top left (pixels past the last whole cell are left out).
// Each is blurred by a Gaussian whose standard deviation is the cell's width (half of it for the
// detail), taken to CIE L* and sampled. NaN figures when either side has one shade only.
Likeness scoreLikeness(const Plane &art, const Plane &photo, CellSize cell);
