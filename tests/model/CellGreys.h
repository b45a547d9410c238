#pragma once

#include <vector>

class PixelArray;
struct CellBox;

// Grey level 0..255 of every whole cell, row by row from the top: greys[row][column].
// The right and bottom remainders that make no whole cell are left out.
using GreyRows = std::vector<std::vector<int>>;

GreyRows cellGreys(const PixelArray &picture, const CellBox &cell);
