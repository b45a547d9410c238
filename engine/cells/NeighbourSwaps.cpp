#include "engine/cells/NeighbourSwaps.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The neighbours a cell may swap with, in cells across and down; those above and to the left
// were offered the swap from their own side.
constexpr std::array<std::array<int, 2>, 4> neighbourOffsets{{{1, 0}, {-1, 1}, {0, 1}, {1, 1}}};

// However oddly shaped a cell, the blur reaches no further than this many quarters either way:
// past it the eye no longer tells the art's places apart.
constexpr int widestReach = 8;

// The taps of a Gaussian twice the eye's, whose standard deviation is a quarter's width, over
// quarters `step` quarter-widths apart: from the furthest back to the furthest ahead, three
// standard deviations each way.
std::vector<float> tapsOver(double step)
{
    const double deviation = std::sqrt(2.0); // the eye's, blurred twice, in quarter widths
    const int reach = std::min(widestReach, int(3 * deviation / step));
    std::vector<float> taps;
    for (int i = -reach; i <= reach; ++i)
        taps.push_back(float(std::exp(-(i * step) * (i * step) / (2 * deviation * deviation))));
    return taps;
}

int across(int quarter) { return quarter % 2; }
int down(int quarter) { return quarter / 2; }

} // namespace

NeighbourSwaps::NeighbourSwaps(const InkShades &shades, CellSize cell, int columns)
    : m_shades(shades),
      m_columns(columns),
      m_across(tapsOver(1)),
      m_down(tapsOver(cell.width > 0 && cell.height > 0 ? double(cell.height) / cell.width : 1))
{
    const int reachAcross = int(m_across.size()) / 2, reachDown = int(m_down.size()) / 2;
    const auto blurred = [&](int x, int y) {
        return std::abs(x) <= reachAcross && std::abs(y) <= reachDown
                 ? double(m_across[std::size_t(x + reachAcross)]) * double(m_down[std::size_t(y + reachDown)])
                 : 0.0;
    };
    m_terms.resize(std::size_t(m_shades.count()));
    for (std::size_t k = 0; k < m_terms.size(); ++k)
        m_terms[k].light = m_shades.quartersOf(int(k));
    for (std::size_t n = 0; n < neighbours; ++n) {
        const int nx = 2 * neighbourOffsets[n][0], ny = 2 * neighbourOffsets[n][1];
        std::array<std::array<double, 4>, 4> against{};
        for (int q = 0; q < 4; ++q)
            for (int p = 0; p < 4; ++p) {
                const int x = across(p) - across(q), y = down(p) - down(q);
                const double towards = (blurred(nx + x, ny + y) + blurred(nx - x, ny - y)) / 2;
                against[std::size_t(q)][std::size_t(p)] = blurred(x, y) - towards;
            }
        for (ShadeTerms &terms : m_terms) {
            for (std::size_t q = 0; q < 4; ++q) {
                for (std::size_t p = 0; p < 4; ++p)
                    terms.against[n][q] += against[q][p] * terms.light[p];
                terms.energy[n] += terms.light[q] * terms.against[n][q];
            }
        }
    }
}

void NeighbourSwaps::addRow(std::span<const int> shades, std::span<const Quarters<double>> targets)
{
    const int r = m_rows++;
    m_shadeOf.insert(m_shadeOf.end(), shades.begin(), shades.end());
    m_unsettled.resize(m_shadeOf.size());
    const int width = 2 * m_columns;
    const int reachAcross = int(m_across.size()) / 2, reachDown = int(m_down.size()) / 2;
    m_blurredMiss.resize(std::size_t(2 * m_rows + reachDown) * std::size_t(width));
    // The Gaussian separates: each of the row's two rows of quarters blurred across, then added
    // into the rows of quarters it reaches down to.
    std::vector<float> miss(static_cast<std::size_t>(width)), blurredAcross(static_cast<std::size_t>(width));
    for (int half = 0; half < 2; ++half) {
        for (std::size_t c = 0; c < shades.size(); ++c)
            for (std::size_t side = 0; side < 2; ++side) {
                const std::size_t q = 2 * std::size_t(half) + side;
                miss[2 * c + side] = float(m_shades.quartersOf(shades[c])[q] - targets[c][q]);
            }
        for (int x = 0; x < width; ++x) {
            const int left = std::max(0, x - reachAcross), right = std::min(width - 1, x + reachAcross);
            float sum = 0;
            for (int i = left; i <= right; ++i)
                sum += m_across[std::size_t(i - x + reachAcross)] * miss[std::size_t(i)];
            blurredAcross[std::size_t(x)] = sum;
        }
        const int y0 = 2 * r + half;
        for (int y = std::max(0, y0 - reachDown); y <= y0 + reachDown; ++y) {
            float *into = m_blurredMiss.data() + std::size_t(y) * std::size_t(width);
            const float tap = m_down[std::size_t(y - y0 + reachDown)];
            for (std::size_t x = 0; x < std::size_t(width); ++x)
                into[x] += tap * blurredAcross[x];
        }
    }
    unsettleAround(0, r, m_columns - 1, r);
}

void NeighbourSwaps::unsettleAround(int left, int top, int right, int bottom)
{
    // The cells whose quarters the blur of a change to these reaches, and those that would swap
    // with them, one column either side and one row up.
    const int cellsAcross = (int(m_across.size()) / 2 + 1) / 2 + 1, cellsDown = (int(m_down.size()) / 2 + 1) / 2;
    const int from = std::max(0, left - cellsAcross), to = std::min(m_columns - 1, right + cellsAcross);
    for (int r = std::max(0, top - cellsDown - 1); r <= std::min(m_rows - 1, bottom + cellsDown); ++r) {
        const auto row = m_unsettled.begin() + std::ptrdiff_t(r) * m_columns;
        std::fill(row + from, row + to + 1, quint8(1));
    }
}

void NeighbourSwaps::settle(int first, int end)
{
    for (int r = first; r < end; ++r)
        for (int c = 0; c < m_columns; ++c)
            settleCell(c, r);
}

void NeighbourSwaps::settleCell(int column, int row)
{
    const std::size_t cell = std::size_t(row) * std::size_t(m_columns) + std::size_t(column);
    if (!m_unsettled[cell])
        return;
    m_unsettled[cell] = 0;
    const int shade = m_shadeOf[cell];
    const ShadeTerms &mine = m_terms[std::size_t(shade)];
    const float *here = m_blurredMiss.data() + quarterOf(column, row);
    std::size_t best = neighbours;
    double bestCost = 0;
    for (std::size_t n = 0; n < neighbours; ++n) {
        const int c = column + neighbourOffsets[n][0], r = row + neighbourOffsets[n][1];
        if (c < 0 || c >= m_columns || r >= m_rows)
            continue;
        const int other = m_shadeOf[std::size_t(r) * std::size_t(m_columns) + std::size_t(c)];
        if (other == shade)
            continue;
        const double cost = costOfSwap(mine, m_terms[std::size_t(other)], here, m_blurredMiss.data() + quarterOf(c, r), n);
        if (cost < bestCost) {
            best = n;
            bestCost = cost;
        }
    }
    if (best == neighbours)
        return;
    const int c = column + neighbourOffsets[best][0], r = row + neighbourOffsets[best][1];
    int &there = m_shadeOf[std::size_t(r) * std::size_t(m_columns) + std::size_t(c)];
    Quarters<float> change{};
    for (std::size_t q = 0; q < 4; ++q)
        change[q] = float(m_terms[std::size_t(there)].light[q] - mine.light[q]);
    m_shadeOf[cell] = there;
    there = shade;
    blurInto(column, row, change);
    for (float &part : change)
        part = -part;
    blurInto(c, r, change);
    unsettleAround(std::min(column, c), row, std::max(column, c), r);
}

double NeighbourSwaps::costOfSwap(const ShadeTerms &mine, const ShadeTerms &theirs, const float *here, const float *there,
                                  std::size_t neighbour) const
{
    // The cell takes the neighbour's quarters and the neighbour the cell's: the blurred miss
    // changes by the difference where each lies, and by how the difference overlaps itself, less
    // where the two cells' blurs overlap.
    const std::size_t width = 2 * std::size_t(m_columns);
    const std::array<std::size_t, 4> quarterAt{0, 1, width, width + 1};
    double cost = mine.energy[neighbour] + theirs.energy[neighbour];
    for (std::size_t q = 0; q < 4; ++q) {
        cost += (theirs.light[q] - mine.light[q]) * double(here[quarterAt[q]] - there[quarterAt[q]]);
        cost -= 2 * mine.light[q] * theirs.against[neighbour][q];
    }
    return cost;
}

void NeighbourSwaps::blurInto(int column, int row, const Quarters<float> &change)
{
    const int width = 2 * m_columns;
    const int height = int(m_blurredMiss.size() / std::size_t(width));
    const int reachAcross = int(m_across.size()) / 2, reachDown = int(m_down.size()) / 2;
    for (int q = 0; q < 4; ++q) {
        const int qx = 2 * column + across(q), qy = 2 * row + down(q);
        const int left = std::max(0, qx - reachAcross), right = std::min(width - 1, qx + reachAcross);
        const float *taps = m_across.data() + (left - qx + reachAcross);
        for (int y = std::max(0, qy - reachDown); y <= std::min(height - 1, qy + reachDown); ++y) {
            const float weight = change[std::size_t(q)] * m_down[std::size_t(y - qy + reachDown)];
            float *into = m_blurredMiss.data() + std::size_t(y) * std::size_t(width) + left;
            for (int x = 0; x <= right - left; ++x)
                into[x] += weight * taps[x];
        }
    }
}
