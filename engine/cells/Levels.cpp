#include "engine/cells/Levels.h"

#include "engine/cells/Lightness.h"

#include <algorithm>
#include <vector>

namespace {

// Below this span a stretch would blow rounding noise up into the whole range of shades.
constexpr double flatSpan = 1e-6;

} // namespace

double Levels::stretch(double lightness) const
{
    return std::clamp((lightness - dark) / (light - dark), 0.0, 1.0);
}

Levels levelsOf(const CellGrid<float> &light)
{
    std::vector<double> lightness;
    lightness.reserve(light.cells.size());
    for (const float cell : light.cells)
        lightness.push_back(Lightness::perceived(double(cell)));
    if (lightness.empty())
        return {};
    const std::size_t tail = lightness.size() / 100;
    std::nth_element(lightness.begin(), lightness.begin() + std::ptrdiff_t(tail), lightness.end());
    const double dark = lightness[tail];
    const std::size_t top = lightness.size() - 1 - tail;
    std::nth_element(lightness.begin(), lightness.begin() + std::ptrdiff_t(top), lightness.end());
    const double bright = lightness[top];
    if (bright - dark < flatSpan)
        return {};
    return {dark, bright};
}
