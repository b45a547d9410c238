#pragma once

#include "PixelArray.h"

// The size a side of `length` pixels takes at factor `factor`: the single-precision product, rounded half to even.
// Left in floating point, since a huge factor gives a length no integer holds.
double scaledLength(int length, float factor);

// Nearest-neighbour enlargement or reduction by `factor` (> 0): pixel (x, y) of the result
// takes source pixel (floor(x / factor), floor(y / factor)).
PixelArray scaledPicture(const PixelArray &source, float factor);
