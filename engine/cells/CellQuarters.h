#pragma once

#include "engine/cells/CellMetrics.h"

#include <array>

// A cell's four quarters, top left, top right, bottom left and bottom right, where the eye sees
// how ink is placed within a cell once it comes close enough for the cell not to blend into one
// shade. The scaled picture and the drawn art are cut alike: at half the cell's width and half its
// height, rounded down. A side of one pixel has no second half, and its quarters are the whole.
template <typename T>
using Quarters = std::array<T, 4>;

struct QuarterSplit
{
    int left = 0; // the width of the left quarters
    int top = 0;  // the height of the top ones

    // Which quarter pixel (x, y) of a cell lies in.
    int quarterOf(int x, int y) const { return (y < top ? 0 : 2) + (x < left ? 0 : 1); }
};

constexpr QuarterSplit quarterSplitOf(CellSize cell) { return {cell.width / 2, cell.height / 2}; }
