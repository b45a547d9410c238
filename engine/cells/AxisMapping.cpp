#include "engine/cells/AxisMapping.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool leavesUnscaled(float sizeFactor) { return sizeFactor == 1.0f || sizeFactor < 0.0f; }

} // namespace

double scaledLengthOf(int sourceLength, float sizeFactor)
{
    if (leavesUnscaled(sizeFactor))
        return sourceLength;
    const float product = float(sourceLength) * sizeFactor;
    return std::nearbyint(double(product));
}

int resizingWriteColumns(int sourceLength, float sizeFactor)
{
    const int scaled = int(scaledLengthOf(sourceLength, sizeFactor));
    if (sizeFactor <= 0.0f || sizeFactor >= 1.0f)
        return scaled;
    const float lastColumn = float(sourceLength - 1) * sizeFactor;
    return std::max(scaled, int(std::nearbyint(double(lastColumn))) + 1);
}

AxisMapping mapAxis(int sourceLength, float sizeFactor, int cellLength)
{
    AxisMapping mapping;
    mapping.scaledLength = int(scaledLengthOf(sourceLength, sizeFactor));
    mapping.cellLength = cellLength;
    const int cellCount = mapping.scaledLength / cellLength;
    mapping.cells.reserve(cellCount);
    const bool unscaled = leavesUnscaled(sizeFactor);
    const double factor = sizeFactor;

    for (int k = 0; k < cellCount; ++k) {
        AxisMapping::Cell cell;
        cell.tapBegin = int(mapping.taps.size());
        for (int x = k * cellLength; x < (k + 1) * cellLength; ++x) {
            // Never past the last source pixel: the rounding of the scaled length keeps x / s below
            // the source length, and the clamp keeps memory safe should that ever not hold.
            const int source = unscaled ? x : std::min(int(std::floor(double(x) / factor)), sourceLength - 1);
            if (int(mapping.taps.size()) > cell.tapBegin && mapping.taps.back().source == source)
                ++mapping.taps.back().weight;
            else
                mapping.taps.push_back({source, 1});
        }
        cell.tapEnd = int(mapping.taps.size());
        mapping.cells.push_back(cell);
    }
    return mapping;
}

std::optional<float> sizeFactorForCells(int sourceLength, int cellCount, int cellLength)
{
    const long long wanted = 1LL * cellCount * cellLength;
    if (sourceLength < 1 || cellCount < 1 || cellLength < 1 || wanted > 32767)
        return std::nullopt;
    // The quotient rounded to a float may scale a pixel or so short or long; the floats beside it
    // take the product back across the rounding boundary.
    const float nearest = float(double(wanted) / sourceLength);
    for (int step = 0; step < 64; ++step) {
        for (const float towards : {std::numeric_limits<float>::infinity(), 0.0f}) {
            float factor = nearest;
            for (int i = 0; i < step; ++i)
                factor = std::nextafter(factor, towards);
            if (factor > 0.0f && scaledLengthOf(sourceLength, factor) == double(wanted)
                && mapAxis(sourceLength, factor, cellLength).cellCount() == cellCount)
                return factor;
        }
    }
    return std::nullopt;
}
