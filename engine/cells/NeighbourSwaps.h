#pragma once

#include "engine/cells/CellMetrics.h"
#include "engine/cells/CellQuarters.h"
#include "engine/cells/InkShades.h"

#include <array>
#include <span>
#include <vector>

// The diffusion's shades, moved between neighbouring cells where the art then looks more like the
// picture to an eye close enough to tell a cell's quarters apart. Diffusion gets the light of a
// region right but places its shades by where the error happens to run out, which up close reads
// as noise over the picture's edges. A swap keeps every shade the diffusion gave, so each region
// keeps its mix and its light, smooth gradients and sparse shades alike; only where they sit
// changes.
//
// The eye is a Gaussian as wide as a quarter (half the cell's width); what the art misses of the
// picture, quarter by quarter in linear light, is kept blurred by it twice over, so that what a
// swap gains is read off the cells it touches.
class NeighbourSwaps
{
public:
    // `shades` must outlive this. Cells of size `cell`, `columns` wide.
    NeighbourSwaps(const InkShades &shades, CellSize cell, int columns);

    // Adds the next row below: the shade diffusion chose for each cell, and the light wanted in
    // each of its quarters.
    void addRow(std::span<const int> shades, std::span<const Quarters<double>> targets);
    int rowsAdded() const { return m_rows; }
    // Swaps, left to right in rows `first` to `end` - 1, each cell with the neighbour to its
    // right or in the row below that gains most, where one gains. Rows above `first` are left as
    // they are.
    void settle(int first, int end);
    std::span<const int> row(int r) const { return {m_shadeOf.data() + std::size_t(r) * m_columns, std::size_t(m_columns)}; }

private:
    static constexpr int neighbours = 4; // right, below left, below, below right

    // What a shade's quarters weigh in a swap with each neighbour: its light, its light through
    // the overlap of a cell's blur with itself less that with the neighbour's (made symmetric),
    // and that product's sum with its own light.
    struct ShadeTerms
    {
        Quarters<double> light{};
        std::array<Quarters<double>, neighbours> against{};
        std::array<double, neighbours> energy{};
    };

    void settleCell(int column, int row);
    // What swapping `mine`, at the quarters from `here`, with `theirs`, at those from `there`, its
    // `neighbour`, does to the energy of the blurred miss: less than 0 gains.
    double costOfSwap(const ShadeTerms &mine, const ShadeTerms &theirs, const float *here, const float *there, std::size_t neighbour) const;
    void blurInto(int column, int row, const Quarters<float> &change);
    // Marks for another look the cells a change to cells `left` ... `right` of rows `top` ...
    // `bottom` may have given a swap to gain by.
    void unsettleAround(int left, int top, int right, int bottom);
    // Where the top left quarter of a cell is kept.
    std::size_t quarterOf(int column, int row) const { return 2 * (std::size_t(row) * 2 * std::size_t(m_columns) + std::size_t(column)); }

    const InkShades &m_shades;
    int m_columns;
    int m_rows = 0;
    // The eye's blur applied twice, across and down, in quarters.
    std::vector<float> m_across;
    std::vector<float> m_down;
    std::vector<ShadeTerms> m_terms; // by shade
    std::vector<int> m_shadeOf;
    // Whether a cell may have a swap to gain by since it was last looked at: none could be found
    // unless a change came within its reach.
    std::vector<quint8> m_unsettled;
    // What the art misses of the picture, blurred, one value per quarter, row by row of quarters.
    std::vector<float> m_blurredMiss;
};
