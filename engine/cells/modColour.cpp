#include "engine/cells/modColour.h"

namespace modColour {

qint32 GetRed(Colour colour) { return colour & 0xFF; }

double GetGreen(Colour colour) { return (colour >> 8) & 0xFF; }

double GetBlue(Colour colour) { return (colour >> 16) & 0xFF; }

Colour meanColour(qint64 redSum, qint64 greenSum, qint64 blueSum, const RoundingDivisor &count)
{
    return RGB(count(redSum), count(greenSum), count(blueSum));
}

Colour AverageColour(std::span<const Colour> colours)
{
    qint64 red = 0, green = 0, blue = 0;
    for (Colour c : colours) {
        red += GetRed(c);
        green += qint64(GetGreen(c));
        blue += qint64(GetBlue(c));
    }
    return meanColour(red, green, blue, RoundingDivisor(qint64(colours.size())));
}

Colour GreyColour(Colour colour)
{
    // A sum of three integers divided by 3 never ends in exactly one half.
    const int sum = GetRed(colour) + int(GetGreen(colour)) + int(GetBlue(colour));
    const int grey = (sum + 1) / 3;
    return RGB(grey, grey, grey);
}

} // namespace modColour
