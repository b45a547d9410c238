#include "engine/cells/ColourPalettes.h"

#include <algorithm>
#include <array>
#include <cstdlib>

using modColour::Colour;

namespace {

constexpr std::array<int, 6> cubeLevels{0, 95, 135, 175, 215, 255};

constexpr std::array<Colour, 16> sixteen{
    modColour::RGB(0, 0, 0),       modColour::RGB(205, 0, 0),     modColour::RGB(0, 205, 0),     modColour::RGB(205, 205, 0),
    modColour::RGB(0, 0, 238),     modColour::RGB(205, 0, 205),   modColour::RGB(0, 205, 205),   modColour::RGB(229, 229, 229),
    modColour::RGB(127, 127, 127), modColour::RGB(255, 0, 0),     modColour::RGB(0, 255, 0),     modColour::RGB(255, 255, 0),
    modColour::RGB(92, 92, 255),   modColour::RGB(255, 0, 255),   modColour::RGB(0, 255, 255),   modColour::RGB(255, 255, 255),
};

int channel(Colour c, int shift) { return (c >> shift) & 0xFF; }

// Squared distance in sRGB: weighting the channels by the eye sends the 16 colours' teal and
// olive to grey, which reads worse than a hue a little off.
int distance(Colour a, Colour b)
{
    const int red = channel(a, 0) - channel(b, 0), green = channel(a, 8) - channel(b, 8), blue = channel(a, 16) - channel(b, 16);
    return red * red + green * green + blue * blue;
}

// The cube level nearest to a channel's value, by index.
int nearestLevel(int value)
{
    int best = 0;
    for (int i = 1; i < int(cubeLevels.size()); ++i) {
        if (std::abs(cubeLevels[i] - value) < std::abs(cubeLevels[best] - value))
            best = i;
    }
    return best;
}

} // namespace

namespace ColourPalettes {

Colour colourOf256(int index)
{
    if (index < 16)
        return sixteen[std::size_t(index)];
    if (index < 232) {
        const int cube = index - 16;
        return modColour::RGB(cubeLevels[std::size_t(cube / 36)], cubeLevels[std::size_t(cube / 6 % 6)], cubeLevels[std::size_t(cube % 6)]);
    }
    const int grey = 8 + 10 * (index - 232);
    return modColour::RGB(grey, grey, grey);
}

int nearest256(Colour colour)
{
    // The nearest of the cube is its nearest level on each channel; the nearest grey is found
    // by the channels' mean, and the closer of the two wins.
    const int cube = 16 + 36 * nearestLevel(channel(colour, 0)) + 6 * nearestLevel(channel(colour, 8)) + nearestLevel(channel(colour, 16));
    const int mean = (channel(colour, 0) + channel(colour, 8) + channel(colour, 16) + 1) / 3;
    const int grey = 232 + std::clamp((mean - 8 + 5) / 10, 0, 23);
    return distance(colour, colourOf256(grey)) < distance(colour, colourOf256(cube)) ? grey : cube;
}

Colour colourOf16(int index) { return sixteen[std::size_t(index)]; }

int nearest16(Colour colour)
{
    int best = 0;
    for (int i = 1; i < int(sixteen.size()); ++i) {
        if (distance(colour, sixteen[std::size_t(i)]) < distance(colour, sixteen[std::size_t(best)]))
            best = i;
    }
    return best;
}

Colour reduced(Colour colour, ColourDepth depth)
{
    switch (depth) {
    case ColourDepth::palette16:
        return colourOf16(nearest16(colour));
    case ColourDepth::palette256:
        return colourOf256(nearest256(colour));
    case ColourDepth::none:
    case ColourDepth::truecolour:
        break;
    }
    return colour;
}

} // namespace ColourPalettes
