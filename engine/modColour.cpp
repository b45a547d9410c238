#include "modColour.h"

namespace modColour {

qint32 GetRed(Colour colour) { return colour & 0xFF; }

double GetGreen(Colour colour) { return (colour >> 8) & 0xFF; }

double GetBlue(Colour colour) { return (colour >> 16) & 0xFF; }

qint32 roundedMean(qint64 sum, qint64 count)
{
    const qint64 quotient = sum / count;
    const qint64 twiceRemainder = 2 * (sum % count);
    if (twiceRemainder > count || (twiceRemainder == count && (quotient & 1)))
        return qint32(quotient + 1);
    return qint32(quotient);
}

Colour meanColour(qint64 redSum, qint64 greenSum, qint64 blueSum, qint64 count)
{
    return RGB(roundedMean(redSum, count), roundedMean(greenSum, count), roundedMean(blueSum, count));
}

Colour AverageColour(std::span<const Colour> colours)
{
    qint64 red = 0, green = 0, blue = 0;
    for (Colour c : colours) {
        red += GetRed(c);
        green += qint64(GetGreen(c));
        blue += qint64(GetBlue(c));
    }
    return meanColour(red, green, blue, qint64(colours.size()));
}

Colour GreyColour(Colour colour)
{
    // A sum of three integers divided by 3 never ends in exactly one half.
    const int sum = GetRed(colour) + int(GetGreen(colour)) + int(GetBlue(colour));
    const int grey = (sum + 1) / 3;
    return RGB(grey, grey, grey);
}

} // namespace modColour
