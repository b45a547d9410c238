#include "engine/cells/Lightness.h"

#include <algorithm>
#include <cmath>

namespace {

// Below (6/29)^3 the curve turns into its tangent line, so black keeps a finite slope.
constexpr double knee = 216.0 / 24389.0;
constexpr double slope = 24389.0 / 27.0 / 100.0;

} // namespace

const std::array<double, 256> &Lightness::linearOfLevel()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> linear{};
        for (int level = 0; level < 256; ++level) {
            const double c = level / 255.0;
            linear[std::size_t(level)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return linear;
    }();
    return table;
}

int Lightness::levelOf(double light)
{
    const double v = std::clamp(light, 0.0, 1.0);
    const double encoded = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    return int(std::lround(encoded * 255));
}

double Lightness::perceived(double light)
{
    return light > knee ? 1.16 * std::cbrt(light) - 0.16 : slope * light;
}

double Lightness::linearOf(double lightness)
{
    const double root = (lightness + 0.16) / 1.16;
    const double light = lightness > slope * knee ? root * root * root : lightness / slope;
    return std::clamp(light, 0.0, 1.0);
}
