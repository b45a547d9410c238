#pragma once

#include <array>

// The arithmetic of light the likeness score works in: pictures are sRGB-encoded, light adds up
// linearly, and the eye judges lightness on CIE L*.
namespace LinearLight {

// The linear light of each sRGB-encoded level 0 ... 255, by the sRGB transfer function.
const std::array<float, 256> &fromSrgb();

// Relative luminance of linear red, green and blue, weighted by the sRGB (Rec. 709) primaries.
inline float luminance(float red, float green, float blue) { return 0.2126f * red + 0.7152f * green + 0.0722f * blue; }

// CIE 1976 lightness L*, 0 ... 100, of relative luminance `y` (1 for white).
double lightness(double y);

} // namespace LinearLight
