#include "engine/cells/InkShades.h"

#include "engine/cells/Lightness.h"

#include <algorithm>
#include <numeric>

namespace {

double lightOfInk(double ink, bool lightOnDark)
{
    const double share = std::clamp(ink, 0.0, 1.0);
    return lightOnDark ? share : 1.0 - share;
}

} // namespace

InkShades::InkShades(const std::vector<QString> &characters, const std::vector<CharacterInk> &coverage, bool lightOnDark)
{
    const std::size_t count = std::min(characters.size(), coverage.size());
    std::vector<double> light(count);
    for (std::size_t i = 0; i < count; ++i)
        light[i] = lightOfInk(coverage[i].whole, lightOnDark);
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return light[a] < light[b]; });
    for (const std::size_t i : order) {
        Quarters<double> quarters{};
        for (std::size_t q = 0; q < 4; ++q)
            quarters[q] = lightOfInk(coverage[i].quarters[q], lightOnDark);
        if (!m_light.empty() && m_light.back() == light[i] && m_quarters.back() == quarters)
            continue;
        if (!m_light.empty())
            m_between.push_back(Lightness::linearOf((Lightness::perceived(m_light.back()) + Lightness::perceived(light[i])) / 2));
        m_light.push_back(light[i]);
        m_quarters.push_back(quarters);
        m_characters.push_back(characters[i]);
    }
}

int InkShades::closest(double light) const
{
    return int(std::lower_bound(m_between.begin(), m_between.end(), light) - m_between.begin());
}

int InkShades::closestInPlace(double light, const Quarters<double> &quarters) const
{
    // In linear light, where the quarters add up to the cell: how far a shade is from the cell's
    // light, counted once for each quarter, and how far the way its ink is spread over the
    // quarters is from the way the picture's light is.
    int best = 0;
    double bestCost = 0;
    for (std::size_t k = 0; k < m_light.size(); ++k) {
        const double off = m_light[k] - light;
        double cost = 4 * off * off;
        for (std::size_t q = 0; q < 4; ++q) {
            const double spread = (m_quarters[k][q] - m_light[k]) - (quarters[q] - light);
            cost += spread * spread;
        }
        if (k == 0 || cost < bestCost) {
            best = int(k);
            bestCost = cost;
        }
    }
    return best;
}
