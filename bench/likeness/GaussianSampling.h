#pragma once

#include "bench/likeness/Plane.h"

#include <vector>

// `plane` blurred by an isotropic Gaussian of standard deviation `sigma` pixels, taken at every
// point (xs[i], ys[j]), row by row (j outer), the points in pixel coordinates. The kernel is cut
// at four sigma and, near an edge, weighs only the pixels inside, so nothing outside the picture
// is made up.
std::vector<double> blurredAt(const Plane &plane, double sigma, const std::vector<double> &xs, const std::vector<double> &ys);
