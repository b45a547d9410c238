#pragma once

#include "bench/likeness/Plane.h"
#include "engine/cells/CellMetrics.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <optional>

// How many columns and rows of cells a run at `sizeFactor` cuts a picture of `size` into;
// nothing when the scaled picture would not fit in 32767 pixels a side.
std::optional<QSize> cellsOf(QSize size, float sizeFactor, CellSize cell);

// `photo` (Format_RGB32) as a run at `sizeFactor` sees it: scaled nearest-neighbour exactly as
// the run scales it, cut to its first `columns` x `rows` cells, as linear luminance. Nothing when
// the scaled photo holds fewer cells than that.
std::optional<Plane> photoLuminance(const QImage &photo, float sizeFactor, CellSize cell, int columns, int rows);
// The same, one channel of it (0 red, 1 green, 2 blue) in linear light instead of the luminance.
std::optional<Plane> photoChannel(const QImage &photo, float sizeFactor, CellSize cell, int columns, int rows, int channel);

// The part of a picture of `size` that the cells of a run at `sizeFactor` read, unscaled: from
// the top left to the last source pixel a cell copies. Empty when there are no cells.
QRect coveredPart(QSize size, float sizeFactor, CellSize cell);
