#pragma once

class QImage;

// The open hand shown while dragging the viewer's lens or overview marker: a white hand with a
// black outline, readable over any picture. Its hot spot is logical pixel (9, 11), in the palm
// just below the middle finger, where the hand takes hold.
namespace HandCursor {

inline constexpr int side = 32;

// The cursor at `scale` 1 or 2 (side * scale pixels, ARGB32, transparent around the hand); a
// null image for any other scale.
QImage paint(int scale);

} // namespace HandCursor
