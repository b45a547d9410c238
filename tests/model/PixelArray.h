#pragma once

#include <QtGlobal>
#include <vector>

// A picture held as a plain width x height array of 00BBGGRR colours, row after row.
class PixelArray
{
public:
    PixelArray() = default;
    PixelArray(int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }
    qint32 at(int x, int y) const;
    void set(int x, int y, qint32 colour);

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<qint32> m_colours;
};
