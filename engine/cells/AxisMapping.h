#pragma once

#include <optional>
#include <vector>

// How the cells along one side of the scaled picture read the source picture. Scaled pixel x
// takes source pixel floor(x / s); the scaled side has round(length x s) pixels (single-precision
// product, halves to even), and a size factor below 0 leaves the picture unscaled. Cell k covers
// scaled pixels [k x cellLength, (k + 1) x cellLength); the pixels cut away by trimming are in no
// cell. A cell reads a few source pixels ("taps"), each weighted by the number of scaled pixels
// that copy it, so the enlarged picture is never built.
struct AxisMapping
{
    struct Tap
    {
        int source = 0;
        int weight = 0;
    };
    struct Cell
    {
        int tapBegin = 0;
        int tapEnd = 0;
    };

    int scaledLength = 0;
    int cellLength = 0; // the weights of each cell add up to this
    std::vector<Cell> cells;
    std::vector<Tap> taps;

    int cellCount() const { return int(cells.size()); }
};

// The scaled length of a side; the length itself for a factor of exactly 1 or below 0.
// Returns a double so that an overflowing product is still seen as too large.
double scaledLengthOf(int sourceLength, float sizeFactor);

// How many columns the writing half of the resizing reports stands for: the scaled length, or
// when shrinking (0 < s < 1) round(s x (W - 1)) + 1 if that is more, since that loop also counts a
// last column whose source pixel lies outside the picture.
int resizingWriteColumns(int sourceLength, float sizeFactor);

// `sizeFactor` must not be 0; cellLength > 0; the scaled length must fit an int.
AxisMapping mapAxis(int sourceLength, float sizeFactor, int cellLength);

// The size factor whose scaled side is exactly `cellCount` cells long, trimming nothing: the one
// mapAxis() cuts into that many cells. Nothing when no such side fits 32767 pixels.
std::optional<float> sizeFactorForCells(int sourceLength, int cellCount, int cellLength);
