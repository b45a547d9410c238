#include "engine/render/InkCoverage.h"

#include "engine/cells/CellQuarters.h"
#include "engine/cells/Lightness.h"
#include "engine/render/internal/GlyphCells.h"

std::vector<CharacterInk> inkCoverageOf(const std::vector<QString> &characters, CellSize cell)
{
    // Light, not the painter's coverage of each pixel: an edge pixel drawn half grey lets through
    // a fifth of the light, not half, and the light is what the eye adds up from a distance.
    const std::array<double, 256> &linear = Lightness::linearOfLevel();
    const GlyphCells glyphs(cell);
    const QuarterSplit split = quarterSplitOf(cell);
    std::vector<CharacterInk> coverage;
    coverage.reserve(characters.size());
    for (const QString &character : characters) {
        const QImage drawn = glyphs.draw(character);
        Quarters<double> light{}, pixels{};
        for (int y = 0; y < drawn.height(); ++y) {
            const uchar *row = drawn.constScanLine(y);
            for (int x = 0; x < drawn.width(); ++x) {
                light[std::size_t(split.quarterOf(x, y))] += linear[row[x]];
                pixels[std::size_t(split.quarterOf(x, y))] += 1;
            }
        }
        const double whole = 1.0 - (light[0] + light[1] + light[2] + light[3]) / (double(cell.width) * cell.height);
        CharacterInk ink{whole, {}};
        for (std::size_t q = 0; q < 4; ++q)
            ink.quarters[q] = pixels[q] > 0 ? 1.0 - light[q] / pixels[q] : whole;
        coverage.push_back(ink);
    }
    return coverage;
}
