#pragma once

class QImage;

// The program icon: a bold amber "A" over a dark tile textured with a ramp of characters.
namespace IconArtwork {

// The sides the icon is drawn at; each one is drawn for its own pixel grid.
inline constexpr int sizes[] = {16, 32, 48, 64, 128};

// The icon at one of `sizes`, in ARGB32 with transparent rounded corners; a null image for
// any other side.
QImage paint(int size);

} // namespace IconArtwork
