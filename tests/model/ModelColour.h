#pragma once

#include <QtGlobal>

// A colour packed as 00BBGGRR, red in the lowest byte.
namespace ModelColour {

inline qint32 rgb(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}

inline int red(qint32 colour)
{
    return colour % 256;
}

inline int green(qint32 colour)
{
    return (colour / 256) % 256;
}

inline int blue(qint32 colour)
{
    return (colour / 65536) % 256;
}

} // namespace ModelColour
