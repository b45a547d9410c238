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

// Divides by one fixed count, rounding to nearest with halves to even, exactly, without a
// division per call: cells of one run all hold the same number of pixels. 0 < count < 2^31.
class RoundingDivisor
{
public:
    explicit RoundingDivisor(qint64 count) : m_count(count), m_inverse(1.0 / double(count)) {}

    // 0 <= sum < 2^40.
    qint32 operator()(qint64 sum) const
    {
        qint64 quotient = qint64(double(sum) * m_inverse); // at most one away from the floor
        if (quotient * m_count > sum)
            --quotient;
        else if ((quotient + 1) * m_count <= sum)
            ++quotient;
        const qint64 twiceRemainder = 2 * (sum - quotient * m_count);
        const bool up = twiceRemainder > m_count || (twiceRemainder == m_count && (quotient & 1));
        return qint32(quotient + (up ? 1 : 0));
    }

private:
    qint64 m_count;
    double m_inverse;
};

// The mean colour of channel sums taken over the divisor's count of pixels.
Colour meanColour(qint64 redSum, qint64 greenSum, qint64 blueSum, const RoundingDivisor &count);

} // namespace modColour
