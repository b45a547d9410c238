#include "engine/cells/InkDiffusion.h"

#include "engine/cells/Lightness.h"

#include <algorithm>
#include <utility>

namespace {

// Steps of the table of lightness, over light 0 ... 1.
constexpr int lightnessSteps = 4096;

} // namespace

InkDiffusion::InkDiffusion(InkShades shades, const CellGrid<float> &light, const CellGrid<Quarters<float>> *quarters, CellSize cell,
                           Levels levels, bool diffusion)
    : m_shades(std::move(shades)),
      m_light(light),
      m_quarters(quarters && !quarters->cells.empty() ? quarters : nullptr),
      m_levels(levels),
      m_diffusion(diffusion),
      m_darkest(Lightness::perceived(m_shades.darkest())),
      m_lightest(Lightness::perceived(m_shades.lightest())),
      m_owed(std::size_t(light.columns) + 2),
      m_owedBelow(std::size_t(light.columns) + 2),
      m_chosen(std::size_t(light.columns)),
      m_targets(std::size_t(light.columns))
{
    m_lightness.reserve(lightnessSteps + 1);
    for (int step = 0; step <= lightnessSteps; ++step)
        m_lightness.push_back(Lightness::perceived(double(step) / lightnessSteps));
    if (m_diffusion && m_quarters)
        m_swaps = std::make_unique<NeighbourSwaps>(m_shades, cell, light.columns);
}

double InkDiffusion::lightnessOf(float light) const
{
    const double at = std::clamp(double(light), 0.0, 1.0) * lightnessSteps;
    const int step = std::min(int(at), lightnessSteps - 1);
    const double below = m_lightness[std::size_t(step)];
    return below + (at - step) * (m_lightness[std::size_t(step) + 1] - below);
}

double InkDiffusion::targetOf(float light) const
{
    const double stretched = m_levels.stretch(lightnessOf(light));
    return Lightness::linearOf(m_darkest + stretched * (m_lightest - m_darkest));
}

QString InkDiffusion::nextRow()
{
    const int r = m_row++;
    if (!m_swaps) {
        diffuseRow();
        return charactersOf(m_chosen);
    }
    const int rows = m_light.rows;
    while (m_swaps->rowsAdded() < std::min(rows, r + 1 + settlingRows)) {
        diffuseRow();
        m_swaps->addRow(m_chosen, m_targets);
    }
    m_swaps->settle(r, std::min(rows, r + settlingRows));
    return charactersOf(m_swaps->row(r));
}

void InkDiffusion::diffuseRow()
{
    const int r = m_diffused++;
    const std::span<const float> cells = m_light.row(r);
    for (std::size_t c = 0; c < cells.size(); ++c) {
        const double owed = m_owed[c + 1];
        const double wanted = targetOf(cells[c]) + owed;
        int shade = 0;
        if (m_quarters) {
            const Quarters<float> &light = m_quarters->at(int(c), r);
            Quarters<double> targets{};
            for (std::size_t q = 0; q < 4; ++q) {
                m_targets[c][q] = targetOf(light[q]);
                targets[q] = m_targets[c][q] + owed;
            }
            shade = m_shades.closestInPlace(wanted, targets);
        } else {
            shade = m_shades.closest(wanted);
        }
        m_chosen[c] = shade;
        if (!m_diffusion)
            continue;
        const double missed = wanted - m_shades.lightOf(shade);
        m_owed[c + 2] += missed * 7 / 16;
        m_owedBelow[c] += missed * 3 / 16;
        m_owedBelow[c + 1] += missed * 5 / 16;
        m_owedBelow[c + 2] += missed * 1 / 16;
    }
    std::swap(m_owed, m_owedBelow);
    std::fill(m_owedBelow.begin(), m_owedBelow.end(), 0.0);
}

QString InkDiffusion::charactersOf(std::span<const int> shades) const
{
    QString row;
    row.reserve(qsizetype(shades.size()));
    for (const int shade : shades)
        row += m_shades.characterOf(shade);
    return row;
}
