#pragma once

class QImage;

// Pale backgrounds the viewer stretches over its panels.
namespace ViewerBackgrounds {

inline constexpr int width = 150;
inline constexpr int height = 21;

enum class Panel {
    Tools,  // stretched over the tall tools panel
    Navbar, // stretched along the strip of navigation buttons
};

// The background for `panel` at `scale` 1 or 2 (width * scale by height * scale pixels, in
// RGB32); a null image for any other scale.
QImage paint(Panel panel, int scale);

} // namespace ViewerBackgrounds
