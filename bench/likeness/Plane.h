#pragma once

#include <cstddef>
#include <vector>

// One channel of a picture in linear light, 0 for no light to 1 for the white of the page,
// row by row. Pixel (x, y) covers [x, x + 1) x [y, y + 1).
struct Plane
{
    int width = 0;
    int height = 0;
    std::vector<float> values;

    Plane() = default;
    Plane(int planeWidth, int planeHeight)
        : width(planeWidth), height(planeHeight), values(std::size_t(planeWidth) * std::size_t(planeHeight))
    {
    }

    float &at(int x, int y) { return values[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    float at(int x, int y) const { return values[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};
