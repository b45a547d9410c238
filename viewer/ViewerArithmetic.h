#pragma once

#include <QtGlobal>
#include <cmath>

// The control's numbers: positions and sizes are single-precision floats, and every conversion of
// a computed value to a whole number rounds to the nearest, halves to the even neighbour.
namespace ViewerArithmetic {

// Nearest whole number, halves to even (under the default rounding mode, as everywhere here).
inline int roundEven(double value) { return int(std::nearbyint(value)); }

// The pixel a logical coordinate is drawn at.
inline int pixel(float value) { return roundEven(value); }

// Mouse buttons as the handlers receive them: 1 left, 2 right, 4 middle, added up for a set.
inline int buttonCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) | (buttons & Qt::MiddleButton ? 4 : 0);
}

// The view's position for a marker position: the marker's share of its travel, applied to the
// scroll range. A travel of zero leaves no share to take, so the caller keeps its view.
inline bool hasTravel(float travel) { return travel != 0.0f; }

inline float viewFromMarker(float markerPosition, float travel, int scrollRange)
{
    return float(-((100.0 / travel) * markerPosition * (scrollRange / 100.0)));
}

} // namespace ViewerArithmetic
