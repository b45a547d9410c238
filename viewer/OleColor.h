#pragma once

#include <QColor>
#include <QtGlobal>

class QPalette;

// A colour in its stored form: 0x00BBGGRR for a colour of its own, 0x800000nn for the desktop's
// system colour nn, which follows the palette and is looked up only when something is painted.
using OleColor = quint32;

namespace OleColors {

inline constexpr OleColor buttonFace = 0x8000000F;
inline constexpr OleColor white = 0x00FFFFFF;
inline constexpr OleColor black = 0x00000000;
inline constexpr OleColor silver = 0x00C0C0C0;

inline constexpr OleColor rgb(int red, int green, int blue) { return OleColor(red | green << 8 | blue << 16); }
inline constexpr bool isSystemColour(OleColor colour) { return (colour & 0xFF000000u) == 0x80000000u; }

// The colour to paint with; a system colour comes from `palette`.
QColor resolve(OleColor colour, const QPalette &palette);

} // namespace OleColors
