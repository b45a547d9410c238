#pragma once

#include "bench/likeness/Plane.h"
#include "engine/cells/CellMetrics.h"

// Scores drawings whose likeness is known, to show the score measures what it claims: `photo`
// against itself and against its cells filled flat with their mean light; `art` (the art of
// `photo`) as drawn, with its cells filled flat, in half the light and moved one cell across; and
// `art` against `other`, another photo cut to the same cells from the top left. Prints each with
// what it should come to, and returns whether every one did.
bool checkSoundness(const Plane &photo, const Plane &art, const Plane &other, CellSize cell);
