#include "PixelArray.h"

#include <cstddef>
#include <stdexcept>

PixelArray::PixelArray(int width, int height)
    : m_width(width), m_height(height), m_colours(std::size_t(width) * std::size_t(height), 0)
{
}

// Out-of-range access throws rather than reading garbage: a model that indexes wrongly must say so.
qint32 PixelArray::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        throw std::out_of_range("PixelArray::at outside the picture");
    return m_colours[std::size_t(y) * std::size_t(m_width) + std::size_t(x)];
}

void PixelArray::set(int x, int y, qint32 colour)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        throw std::out_of_range("PixelArray::set outside the picture");
    m_colours[std::size_t(y) * std::size_t(m_width) + std::size_t(x)] = colour;
}
