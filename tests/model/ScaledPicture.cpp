#include "ScaledPicture.h"

#include <cmath>

double scaledLength(int length, float factor)
{
    const float product = float(length) * factor;
    return std::nearbyint(product);
}

PixelArray scaledPicture(const PixelArray &source, float factor)
{
    const double wideFactor = factor;
    PixelArray scaled(int(scaledLength(source.width(), factor)), int(scaledLength(source.height(), factor)));
    for (int y = 0; y < scaled.height(); ++y) {
        for (int x = 0; x < scaled.width(); ++x) {
            const int sourceX = int(std::floor(x / wideFactor));
            const int sourceY = int(std::floor(y / wideFactor));
            scaled.set(x, y, source.at(sourceX, sourceY));
        }
    }
    return scaled;
}
