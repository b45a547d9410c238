#pragma once

#include "engine/cells/CellGrid.h"
#include "engine/cells/CellMetrics.h"
#include "engine/cells/InkShades.h"
#include "engine/cells/Levels.h"
#include "engine/cells/NeighbourSwaps.h"

#include <QString>
#include <memory>
#include <vector>

// The ink mapping's choice of a character for every cell, a row at a time from the top. A cell's
// target is the photo's lightness over it as the eye sees it, stretched by `levels`, then laid
// onto the range of lightness from the darkest shade to the lightest, and so is each of its
// quarters'; it gets the shade closest to the target, where it puts its ink within the cell
// weighed too. With diffusion, what the shade misses of the cell's target in linear light is
// carried on to the cells not yet chosen (Floyd-Steinberg: 7/16 right, 3/16 below left, 5/16
// below, 1/16 below right), so that a mix of two shades gives the lightness between them; where
// quarters are given, the mix is then placed better by swaps between neighbours (NeighbourSwaps),
// a row being handed out once the rows below it that it may swap with have been chosen.
class InkDiffusion
{
public:
    // `light` holds each cell's mean linear light and `quarters` that of its quarters, or is null
    // when only the cell's light is matched; both must outlive this. `shades` not empty; cells of
    // size `cell`.
    InkDiffusion(InkShades shades, const CellGrid<float> &light, const CellGrid<Quarters<float>> *quarters, CellSize cell, Levels levels,
                 bool diffusion);
    // The swaps keep hold of the shades.
    InkDiffusion(const InkDiffusion &) = delete;
    InkDiffusion &operator=(const InkDiffusion &) = delete;

    // The characters of the next row, left to right.
    QString nextRow();

private:
    // How many rows below a row its swaps look at before it is handed out: each row is settled
    // this many times, with the rows below it as diffusion left them.
    static constexpr int settlingRows = 3;

    // Light's lightness, from a table: a cube root for each of a cell's five targets shows in the
    // time of a large conversion. Within 5e-6 of the curve, the most near its knee.
    double lightnessOf(float light) const;
    double targetOf(float light) const;
    // Chooses the next row's shades by diffusion into m_chosen, its quarters' targets into m_targets.
    void diffuseRow();
    QString charactersOf(std::span<const int> shades) const;

    InkShades m_shades;
    const CellGrid<float> &m_light;
    const CellGrid<Quarters<float>> *m_quarters;
    Levels m_levels;
    bool m_diffusion;
    double m_darkest;  // lightness of the darkest shade
    double m_lightest; // and of the lightest
    std::vector<double> m_lightness; // of light 0, 1 / lightnessSteps, ... 1
    int m_row = 0;      // the next row handed out
    int m_diffused = 0; // the next row diffusion chooses
    // What this row and the next are owed, one cell of margin on either side for what falls off.
    std::vector<double> m_owed;
    std::vector<double> m_owedBelow;
    std::vector<int> m_chosen;
    std::vector<Quarters<double>> m_targets;
    std::unique_ptr<NeighbourSwaps> m_swaps;
};
