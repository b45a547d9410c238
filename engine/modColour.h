#pragma once

#include <QtGlobal>
#include <span>

// Colours as the conversion handles them: red in the lowest byte, green in the second,
// blue in the third (00BBGGRR).
namespace modColour {

using Colour = qint32;

constexpr Colour RGB(int red, int green, int blue) { return red + 256 * green + 65536 * blue; }

qint32 GetRed(Colour colour);
double GetGreen(Colour colour);
double GetBlue(Colour colour);

// The mean of each channel, rounded to nearest with halves to even. `colours` must not be empty.
Colour AverageColour(std::span<const Colour> colours);

// The colour whose channels all hold round((red + green + blue) / 3).
Colour GreyColour(Colour colour);

// Rounds sum / count to nearest, halves to even, exactly in integers. count > 0, sum >= 0.
qint32 roundedMean(qint64 sum, qint64 count);

// The mean colour of channel sums taken over `count` pixels.
Colour meanColour(qint64 redSum, qint64 greenSum, qint64 blueSum, qint64 count);

} // namespace modColour
