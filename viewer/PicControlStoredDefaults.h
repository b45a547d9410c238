#pragma once

#include <QtGlobal>

// The defaults of a picture viewer control's stored property set, by property: a value equal to
// its default is left out of the bag, and a key that is missing reads back as its default. They
// are not a new control's values (it starts at ScrollSpeed 10, BorderStyle 0 and Appearance 0),
// so a host that keeps a set of its own writes against these. BackColor's default is the host's
// ambient background colour, the tooltips' an empty text and Picture's none.
namespace PicControlStoredDefaults {

inline constexpr qint32 AlignNavBar = 2;
inline constexpr qint32 Appearance = 1;
inline constexpr qint32 BorderStyle = 1;
inline constexpr qint32 LenzSize = 0;
inline constexpr qint32 Magnify = 2;
inline constexpr qint16 ScrollSpeed = 50;

} // namespace PicControlStoredDefaults
