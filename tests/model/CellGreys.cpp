#include "CellGreys.h"

#include "CellBox.h"
#include "ModelColour.h"
#include "PixelArray.h"

#include <QtGlobal>
#include <cmath>

namespace {

using Block = std::vector<std::vector<qint32>>; // block[px][py]

Block copyCell(const PixelArray &picture, const CellBox &cell, int column, int row)
{
    Block block(cell.width, std::vector<qint32>(cell.height, 0));
    for (int px = 0; px < cell.width; ++px)
        for (int py = 0; py < cell.height; ++py)
            block[px][py] = picture.at(column * cell.width + px, row * cell.height + py);
    return block;
}

// Column of the block after column, each top to bottom.
std::vector<qint32> flatten(const Block &block)
{
    std::vector<qint32> flat;
    for (const std::vector<qint32> &blockColumn : block)
        for (const qint32 colour : blockColumn)
            flat.push_back(colour);
    return flat;
}

// Each channel's sum divided in double and rounded half to even.
qint32 meanColour(const std::vector<qint32> &colours)
{
    int redSum = 0;
    int greenSum = 0;
    int blueSum = 0;
    for (const qint32 colour : colours) {
        redSum += ModelColour::red(colour);
        greenSum += ModelColour::green(colour);
        blueSum += ModelColour::blue(colour);
    }
    const double count = double(colours.size());
    return ModelColour::rgb(int(std::nearbyint(redSum / count)), int(std::nearbyint(greenSum / count)),
                            int(std::nearbyint(blueSum / count)));
}

// All three channels weigh the same; a sum of three whole numbers over 3 is never a half.
int greyOf(qint32 colour)
{
    const int sum = ModelColour::red(colour) + ModelColour::green(colour) + ModelColour::blue(colour);
    return int(std::nearbyint(sum / 3.0));
}

} // namespace

GreyRows cellGreys(const PixelArray &picture, const CellBox &cell)
{
    const int columns = picture.width() / cell.width;
    const int rows = picture.height() / cell.height;
    GreyRows greys(rows, std::vector<int>(columns, 0));
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            greys[row][column] = greyOf(meanColour(flatten(copyCell(picture, cell, column, row))));
    return greys;
}
