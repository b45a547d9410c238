#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <vector>

// A picture stretched to a size, rendered a rectangle at a time, so that a picture shown at six
// times its size never exists whole. Enlarging repeats pixels (nearest neighbour, crisp);
// reducing averages the source pixels each target pixel covers. Any rectangle renders exactly as
// the same pixels of the whole stretched picture would.
class ScaledPicture
{
public:
    // `source` must be in Format_RGB32; an empty `target` renders nothing.
    void set(const QImage &source, QSize target);
    QSize target() const { return m_target; }

    // The pixels of `area` (clipped to the target), in Format_RGB32.
    QImage render(const QRect &area) const;

    // Which source pixels make up each target pixel along one axis.
    struct Taps
    {
        bool nearest = true;
        std::vector<int> first;       // per target pixel: its first source pixel
        std::vector<int> begin;       // per target pixel: where its weights start (one more entry at the end)
        std::vector<float> weights;   // per source pixel taken, its share; the shares of a target pixel add up to 1
    };
    static Taps taps(int source, int target);

private:
    QImage m_source;
    QSize m_target;
    Taps m_x;
    Taps m_y;
};
