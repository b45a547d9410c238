#include "engine/cells/InkShades.h"

#include "engine/cells/Lightness.h"

#include <algorithm>
#include <numeric>

InkShades::InkShades(const std::vector<QString> &characters, const std::vector<double> &coverage, bool lightOnDark)
{
    const std::size_t count = std::min(characters.size(), coverage.size());
    std::vector<double> light(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double ink = std::clamp(coverage[i], 0.0, 1.0);
        light[i] = lightOnDark ? ink : 1.0 - ink;
    }
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return light[a] < light[b]; });
    for (const std::size_t i : order) {
        if (!m_light.empty() && m_light.back() == light[i])
            continue;
        if (!m_light.empty())
            m_between.push_back(Lightness::linearOf((Lightness::perceived(m_light.back()) + Lightness::perceived(light[i])) / 2));
        m_light.push_back(light[i]);
        m_characters.push_back(characters[i]);
    }
}

int InkShades::closest(double light) const
{
    return int(std::lower_bound(m_between.begin(), m_between.end(), light) - m_between.begin());
}
