#include "bench/likeness/LinearLight.h"

#include <cmath>

const std::array<float, 256> &LinearLight::fromSrgb()
{
    static const std::array<float, 256> table = [] {
        std::array<float, 256> linear{};
        for (int level = 0; level < 256; ++level) {
            const double c = level / 255.0;
            linear[level] = float(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return linear;
    }();
    return table;
}

double LinearLight::lightness(double y)
{
    // Below (6/29)^3 the curve turns into its tangent line, so black stays finite in slope.
    constexpr double knee = 216.0 / 24389.0;
    constexpr double slope = 24389.0 / 27.0;
    return y > knee ? 116.0 * std::cbrt(y) - 16.0 : slope * y;
}
