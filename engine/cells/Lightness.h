#pragma once

#include <QtGlobal>
#include <array>

// The arithmetic of light the ink mapping works in: pictures hold sRGB-encoded levels, light
// mixes linearly, and the eye judges lightness on CIE L*.
namespace Lightness {

// The linear light, 0 ... 1, of each sRGB-encoded level 0 ... 255.
const std::array<double, 256> &linearOfLevel();

// The sRGB-encoded level, 0 ... 255, nearest to linear light `light`, which is clamped to 0 ... 1.
int levelOf(double light);

// Relative luminance of linear red, green and blue, by the weights of the sRGB primaries.
constexpr double redWeight = 0.2126;
constexpr double greenWeight = 0.7152;
constexpr double blueWeight = 0.0722;

// CIE lightness L* over 100 of relative luminance `light`: 0 black, 1 white. `light` in 0 ... 1.
double perceived(double light);
// The relative luminance whose perceived() is `lightness`, in 0 ... 1.
double linearOf(double lightness);

} // namespace Lightness
