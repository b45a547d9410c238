#include "bench/likeness/PhotoReference.h"

#include "bench/likeness/LinearLight.h"
#include "engine/cells/AxisMapping.h"

#include <vector>

namespace {

constexpr double largestSide = 32767;

bool fits(int length, float sizeFactor) { return scaledLengthOf(length, sizeFactor) <= largestSide; }

// The source pixel each scaled pixel of the first `cells` cells copies, in order: the run's own
// mapping, its taps unrolled.
std::vector<int> sourceOfEachPixel(const AxisMapping &mapping, int cells)
{
    std::vector<int> sources;
    for (int k = 0; k < cells; ++k) {
        const AxisMapping::Cell &cell = mapping.cells[std::size_t(k)];
        for (int t = cell.tapBegin; t < cell.tapEnd; ++t)
            sources.insert(sources.end(), std::size_t(mapping.taps[std::size_t(t)].weight), mapping.taps[std::size_t(t)].source);
    }
    return sources;
}

// How many source pixels from the first the cells of `mapping` read.
int sourcesRead(const AxisMapping &mapping)
{
    return mapping.cells.empty() ? 0 : mapping.taps[std::size_t(mapping.cells.back().tapEnd - 1)].source + 1;
}

} // namespace

std::optional<QSize> cellsOf(QSize size, float sizeFactor, CellSize cell)
{
    if (!fits(size.width(), sizeFactor) || !fits(size.height(), sizeFactor))
        return std::nullopt;
    return QSize(mapAxis(size.width(), sizeFactor, cell.width).cellCount(),
                 mapAxis(size.height(), sizeFactor, cell.height).cellCount());
}

std::optional<Plane> photoLuminance(const QImage &photo, float sizeFactor, CellSize cell, int columns, int rows)
{
    return photoChannel(photo, sizeFactor, cell, columns, rows, -1);
}

// Channel -1 is the luminance.
std::optional<Plane> photoChannel(const QImage &photo, float sizeFactor, CellSize cell, int columns, int rows, int channel)
{
    const std::optional<QSize> cells = cellsOf(photo.size(), sizeFactor, cell);
    if (!cells || cells->width() < columns || cells->height() < rows)
        return std::nullopt;
    const std::vector<int> sourceX = sourceOfEachPixel(mapAxis(photo.width(), sizeFactor, cell.width), columns);
    const std::vector<int> sourceY = sourceOfEachPixel(mapAxis(photo.height(), sizeFactor, cell.height), rows);
    const std::array<float, 256> &linear = LinearLight::fromSrgb();
    Plane plane(int(sourceX.size()), int(sourceY.size()));
    for (int y = 0; y < plane.height; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(photo.constScanLine(sourceY[std::size_t(y)]));
        for (int x = 0; x < plane.width; ++x) {
            const QRgb pixel = row[sourceX[std::size_t(x)]];
            const std::array<float, 3> rgb{linear[qRed(pixel)], linear[qGreen(pixel)], linear[qBlue(pixel)]};
            plane.at(x, y) = channel < 0 ? LinearLight::luminance(rgb[0], rgb[1], rgb[2]) : rgb[std::size_t(channel)];
        }
    }
    return plane;
}

QRect coveredPart(QSize size, float sizeFactor, CellSize cell)
{
    if (!cellsOf(size, sizeFactor, cell))
        return {};
    return QRect(0, 0, sourcesRead(mapAxis(size.width(), sizeFactor, cell.width)),
                 sourcesRead(mapAxis(size.height(), sizeFactor, cell.height)));
}
