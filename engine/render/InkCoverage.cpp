#include "engine/render/InkCoverage.h"

#include "engine/cells/Lightness.h"
#include "engine/render/internal/GlyphCells.h"

std::vector<double> inkCoverageOf(const std::vector<QString> &characters, CellSize cell)
{
    // Light, not the painter's coverage of each pixel: an edge pixel drawn half grey lets through
    // a fifth of the light, not half, and the light is what the eye adds up from a distance.
    const std::array<double, 256> &linear = Lightness::linearOfLevel();
    const GlyphCells glyphs(cell);
    std::vector<double> coverage;
    coverage.reserve(characters.size());
    for (const QString &character : characters) {
        const QImage drawn = glyphs.draw(character);
        double light = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            const uchar *row = drawn.constScanLine(y);
            for (int x = 0; x < drawn.width(); ++x)
                light += linear[row[x]];
        }
        coverage.push_back(1.0 - light / (double(cell.width) * cell.height));
    }
    return coverage;
}
