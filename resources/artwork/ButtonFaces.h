#pragma once

class QImage;

// The faces of the viewer's ten navigation buttons: a dark blue glyph in a dark blue rounded
// frame over a pale background.
namespace ButtonFaces {

// Glyphs by index: corner marks lower left, lower right, a centred square, corner marks upper
// left, upper right, chevrons left, right, up, down, and a magnifying glass.
inline constexpr int count = 10;
inline constexpr int side = 17;

enum class Face {
    Up,     // at rest
    Down,   // pressed
    Design, // shown until the button's first press
};

// Face `face` of button `index` (0 to count - 1) at `scale` 1 or 2, a square of side * scale
// pixels in ARGB32; a null image for any other index or scale. The Up and Down faces are
// opaque except for the corner outside the frame (one pixel at 1x, a 2x2 block at 2x), which is
// transparent so the strip behind shows through. The Design face is the Up face with those
// corners filled with the background, so it is a plain opaque tile; for the magnifier it is the
// Up face itself.
QImage paint(int index, Face face, int scale);

} // namespace ButtonFaces
