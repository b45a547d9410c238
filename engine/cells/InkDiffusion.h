#pragma once

#include "engine/cells/CellGrid.h"
#include "engine/cells/InkShades.h"
#include "engine/cells/Levels.h"

#include <QString>
#include <vector>

// The ink mapping's choice of a character for every cell, a row at a time from the top. A cell's
// target is the photo's lightness over it as the eye sees it, stretched by `levels`, then laid
// onto the range of lightness from the darkest shade to the lightest, and so is each of its
// quarters'; it gets the shade closest to the target, where it puts its ink within the cell
// weighed too. With diffusion, what the shade misses of the cell's target in linear light is
// carried on to the cells not yet chosen (Floyd-Steinberg: 7/16 right, 3/16 below left, 5/16
// below, 1/16 below right), so that a mix of two shades gives the lightness between them.
class InkDiffusion
{
public:
    // `light` holds each cell's mean linear light and `quarters` that of its quarters, or is null
    // when only the cell's light is matched; both must outlive this. `shades` not empty.
    InkDiffusion(InkShades shades, const CellGrid<float> &light, const CellGrid<Quarters<float>> *quarters, Levels levels,
                 bool diffusion);

    // The characters of the next row, left to right.
    QString nextRow();

private:
    double targetOf(float light) const;

    InkShades m_shades;
    const CellGrid<float> &m_light;
    const CellGrid<Quarters<float>> *m_quarters;
    Levels m_levels;
    bool m_diffusion;
    double m_darkest;  // lightness of the darkest shade
    double m_lightest; // and of the lightest
    int m_row = 0;
    // What this row and the next are owed, one cell of margin on either side for what falls off.
    std::vector<double> m_owed;
    std::vector<double> m_owedBelow;
};
