#include "engine/cells/ArtColours.h"
#include "engine/cells/AxisMapping.h"
#include "engine/cells/CharacterMapping.h"
#include "engine/cells/ColourPalettes.h"
#include "engine/cells/InkDiffusion.h"
#include "engine/cells/internal/ToneSampling.h"
#include "engine/cells/Levels.h"
#include "engine/cells/Lightness.h"
#include "engine/cells/NeighbourSwaps.h"
#include "engine/cells/modColour.h"

#include <QTest>
#include <algorithm>
#include <cmath>
#include <random>

Q_DECLARE_METATYPE(CellSampler::Keep)

namespace {

// What the eye close enough to tell a cell's quarters apart sees the art miss of the picture,
// both given as linear light per quarter: the miss blurred by a Gaussian as wide as a quarter,
// squared and summed over the quarters.
double eyeMiss(CellSize cell, const CellGrid<Quarters<double>> &art, const CellGrid<Quarters<double>> &picture)
{
    std::vector<std::array<double, 3>> quarters; // x, y, the miss there
    for (int r = 0; r < art.rows; ++r)
        for (int c = 0; c < art.columns; ++c)
            for (std::size_t q = 0; q < 4; ++q)
                quarters.push_back({(2 * c + int(q % 2) + 0.5) * cell.width / 2, (2 * r + int(q / 2) + 0.5) * cell.height / 2,
                                    art.at(c, r)[q] - picture.at(c, r)[q]});
    const double deviation = cell.width / 2.0;
    double energy = 0;
    for (const auto &at : quarters) {
        double blurred = 0;
        for (const auto &from : quarters)
            blurred += from[2] * std::exp(-(std::pow(at[0] - from[0], 2) + std::pow(at[1] - from[1], 2)) / (2 * deviation * deviation));
        energy += blurred * blurred;
    }
    return energy;
}

} // namespace

// The arithmetic edges from pixels to characters that whole pictures seldom reach: exact halves
// in a cell's mean, rounded scaled lengths, the rows a run reads, and grey band limits; and for
// the ink, light averaged linearly, a photo's range stretched and what diffusion mixes. Cell
// sizes, greys, means and characters over whole pictures are compared with the reference model.
class TestTones : public QObject
{
    Q_OBJECT

private slots:
    void roundingDivisorIsExact()
    {
        // Every quotient near a whole number or a half, for cell sizes from 1 to the largest.
        for (const qint64 count : {1, 2, 3, 7, 96, 104, 312, 69360}) {
            const modColour::RoundingDivisor divide(count);
            for (qint64 whole = 0; whole <= 255; ++whole) {
                for (const qint64 sum : {whole * count - 1, whole * count, whole * count + 1, whole * count + count / 2,
                                         whole * count + (count + 1) / 2, whole * count + count - 1}) {
                    if (sum < 0)
                        continue;
                    const qint64 floor = sum / count, twiceRest = 2 * (sum % count);
                    const qint64 expected = floor + (twiceRest > count || (twiceRest == count && floor % 2) ? 1 : 0);
                    QCOMPARE(divide(sum), qint32(expected));
                }
            }
        }
    }

    void scaledLength_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<float>("factor");
        QTest::addColumn<double>("scaled");
        QTest::newRow("unscaled") << 100 << 1.0f << 100.0;
        QTest::newRow("negative factor leaves the picture unscaled") << 100 << -2.0f << 100.0;
        QTest::newRow("doubled") << 3 << 2.0f << 6.0;
        QTest::newRow("2.5 rounds to 2") << 5 << 0.5f << 2.0;
        QTest::newRow("3.5 rounds to 4") << 7 << 0.5f << 4.0;
        QTest::newRow("single-precision product") << 1000 << 0.1f << 100.0;
        QTest::newRow("too large still counts") << 30000 << 3.0f << 90000.0;
    }
    void scaledLength()
    {
        QFETCH(int, length);
        QFETCH(float, factor);
        QFETCH(double, scaled);
        QCOMPARE(scaledLengthOf(length, factor), scaled);
    }

    void onlyRowsInCellsAreRead_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<float>("factor");
        QTest::addColumn<int>("cellHeight");
        QTest::addColumn<int>("needed");
        QTest::newRow("trimmed rows are never read") << 50 << 1.0f << 12 << 48;
        QTest::newRow("enlarged rows come from few source rows") << 3 << 2.0f << 1 << 3;
        QTest::newRow("enlarged and trimmed") << 10 << 3.0f << 13 << 9; // 30 rows, 26 used, source 0 ... 8
        QTest::newRow("reduced") << 100 << 0.5f << 13 << 77; // 50 rows, 39 used, the last from source 76
        QTest::newRow("no whole row of cells") << 5 << 1.0f << 13 << 0;
    }
    void onlyRowsInCellsAreRead()
    {
        QFETCH(int, height);
        QFETCH(float, factor);
        QFETCH(int, cellHeight);
        QFETCH(int, needed);
        const CellSampler sampler(mapAxis(8, factor, 8), mapAxis(height, factor, cellHeight));
        QCOMPARE(sampler.sourceRowsNeeded(), needed);
    }

    // Two samplers taking the cell rows above and below any row measure what one takes alone, where a
    // source row is shared by two cell rows (enlarged) and where rows are passed over (reduced).
    void partsMeasureAsTheWhole()
    {
        QImage picture(29, 61, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * y) % 256, (y * 53) % 256));
        const auto tonesOf = [&](float factor, int first, int end) {
            CellSampler sampler(mapAxis(29, factor, 5), mapAxis(61, factor, 7), CellSampler::Keep::coloursGreysAndLight, first, end);
            for (int y = sampler.firstSourceRow(); !sampler.complete(); ++y)
                sampler.addSourceRow(reinterpret_cast<const QRgb *>(picture.constScanLine(y)));
            return sampler.takeCellTones();
        };
        for (const float factor : {1.0f, 2.5f, 0.37f}) {
            const CellTones whole = tonesOf(factor, 0, 1000);
            QVERIFY(whole.grey.rows > 2);
            for (int split = 1; split < whole.grey.rows; ++split) {
                CellTones joined = tonesOf(factor, 0, split);
                joined.append(tonesOf(factor, split, 1000));
                QCOMPARE(joined.grey.rows, whole.grey.rows);
                QVERIFY2(joined.grey.cells == whole.grey.cells && joined.light.cells == whole.light.cells
                             && joined.lightQuarters.cells == whole.lightQuarters.cells && joined.colour.cells == whole.colour.cells,
                         qPrintable(QStringLiteral("factor %1, split at row %2").arg(factor).arg(split)));
            }
        }
    }

    // A cell's colour is the mean of each channel over the pixels the scaled picture gives it,
    // halves to even as its grey; a run that asks for no colour keeps none.
    void meanColourOfCells_data()
    {
        QTest::addColumn<QList<uint>>("pixels"); // a 2 x 1 source picture, in cells of 2 x 1
        QTest::addColumn<float>("size");
        QTest::addColumn<CellSampler::Keep>("keep");
        QTest::addColumn<QList<int>>("colour"); // red, green, blue of the first cell; empty when none is kept
        QTest::newRow("halves to even: 1.5, 2.5, 127.5")
            << QList<uint>{qRgb(1, 2, 0), qRgb(2, 3, 255)} << 1.0f << CellSampler::Keep::coloursAndGreys << QList<int>{2, 2, 128};
        QTest::newRow("beside the light")
            << QList<uint>{qRgb(9, 200, 4), qRgb(10, 100, 7)} << 1.0f << CellSampler::Keep::coloursGreysAndLight << QList<int>{10, 150, 6};
        // Doubled, the cell covers the first source pixel twice.
        QTest::newRow("enlarged: one source pixel")
            << QList<uint>{qRgb(30, 60, 90), qRgb(255, 255, 255)} << 2.0f << CellSampler::Keep::coloursAndGreys << QList<int>{30, 60, 90};
        QTest::newRow("greys only keep no colour")
            << QList<uint>{qRgb(1, 2, 0), qRgb(2, 3, 255)} << 1.0f << CellSampler::Keep::greys << QList<int>{};
    }
    void meanColourOfCells()
    {
        QFETCH(QList<uint>, pixels);
        QFETCH(float, size);
        QFETCH(CellSampler::Keep, keep);
        QFETCH(QList<int>, colour);
        CellSampler sampler(mapAxis(2, size, 2), mapAxis(1, size, 1), keep);
        const QRgb row[2] = {pixels[0], pixels[1]};
        while (!sampler.complete())
            sampler.addSourceRow(row);
        const CellTones tones = sampler.takeCellTones();
        QList<int> measured;
        if (!tones.colour.cells.empty()) {
            QCOMPARE(tones.colour.cells.size(), tones.grey.cells.size());
            const modColour::Colour c = tones.colour.at(0, 0);
            measured << modColour::GetRed(c) << int(modColour::GetGreen(c)) << int(modColour::GetBlue(c));
        }
        QCOMPARE(measured, colour);
    }

    // The nearest of xterm's cube and greys (never the 16 terminals colour as they like), and of the 16.
    void paletteReductions_data()
    {
        QTest::addColumn<int>("red");
        QTest::addColumn<int>("green");
        QTest::addColumn<int>("blue");
        QTest::addColumn<int>("index256");
        QTest::addColumn<int>("index16");
        QTest::newRow("black") << 0 << 0 << 0 << 16 << 0;
        QTest::newRow("white") << 255 << 255 << 255 << 231 << 15;
        QTest::newRow("pure red") << 255 << 0 << 0 << 196 << 9;
        QTest::newRow("dark red: cube level 135") << 140 << 10 << 0 << 88 << 1;
        QTest::newRow("mid grey: the ramp's 128") << 128 << 128 << 128 << 244 << 8;
        QTest::newRow("near grey 95 goes to the cube") << 95 << 95 << 95 << 59 << 8;
        QTest::newRow("sky blue") << 100 << 150 << 240 << 69 << 12;
        QTest::newRow("teal: cube levels 0, 135, 135") << 0 << 128 << 128 << 30 << 6;
    }
    void paletteReductions()
    {
        QFETCH(int, red);
        QFETCH(int, green);
        QFETCH(int, blue);
        QFETCH(int, index256);
        QFETCH(int, index16);
        const modColour::Colour colour = modColour::RGB(red, green, blue);
        QCOMPARE(ColourPalettes::nearest256(colour), index256);
        QCOMPARE(ColourPalettes::nearest16(colour), index16);
        QCOMPARE(ColourPalettes::reduced(colour, ColourDepth::palette256), ColourPalettes::colourOf256(index256));
        // A palette's own colour is its nearest, so reduced colours keep their index.
        QCOMPARE(ColourPalettes::nearest256(ColourPalettes::colourOf256(index256)), index256);
    }

    // A character on a dark ground in its cell's hue at the light of white, the channels a
    // saturated colour would push past full held there.
    void coloursOnDark_data()
    {
        QTest::addColumn<QList<int>>("cell");
        QTest::addColumn<QList<int>>("drawn");
        QTest::newRow("grey to white") << QList<int>{128, 128, 128} << QList<int>{255, 255, 255};
        QTest::newRow("black to white") << QList<int>{0, 0, 0} << QList<int>{255, 255, 255};
        QTest::newRow("brown: red held at full") << QList<int>{100, 50, 25} << QList<int>{255, 208, 121};
        QTest::newRow("dull blue: blue held at full") << QList<int>{90, 120, 200} << QList<int>{190, 249, 255};
        QTest::newRow("pure red stays") << QList<int>{255, 0, 0} << QList<int>{255, 0, 0};
    }
    void coloursOnDark()
    {
        QFETCH(QList<int>, cell);
        QFETCH(QList<int>, drawn);
        const modColour::Colour c = colourOnDark(modColour::RGB(cell[0], cell[1], cell[2]));
        QCOMPARE((QList<int>{modColour::GetRed(c), int(modColour::GetGreen(c)), int(modColour::GetBlue(c))}), drawn);
    }

    void bandLimits_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<QList<int>>("limits");
        QTest::newRow("1") << 1 << QList<int>{0, 256};
        QTest::newRow("2: 127.5 goes to 128") << 2 << QList<int>{0, 128, 256};
        QTest::newRow("3") << 3 << QList<int>{0, 85, 170, 256};
        QTest::newRow("4") << 4 << QList<int>{0, 64, 128, 191, 256};
        QTest::newRow("10: halves go to the even neighbour") << 10 << QList<int>{0, 26, 51, 76, 102, 128, 153, 178, 204, 230, 256};
        QTest::newRow("16") << 16 << QList<int>{0, 16, 32, 48, 64, 80, 96, 112, 128, 143, 159, 175, 191, 207, 223, 239, 256};
    }
    void bandLimits()
    {
        QFETCH(int, length);
        QFETCH(QList<int>, limits);
        const RampTables tables = buildRampTables(QString(length, u'x'));
        QCOMPARE(QList<int>(tables.rampLimit.begin(), tables.rampLimit.end()), limits);
    }


    void levels_data()
    {
        QTest::addColumn<QList<float>>("light"); // one cell each, in linear light
        QTest::addColumn<double>("dark");         // the lightness stretched to 0
        QTest::addColumn<double>("bright");       // and to 1
        QList<float> low, full;
        // 200 cells from lightness 0.4 to 0.6; the darkest and lightest 1 % are the two at either end.
        for (int i = 0; i < 200; ++i)
            low << float(Lightness::linearOf(0.4 + 0.2 * i / 199));
        QTest::newRow("low contrast: its 1 % ends go to the ends")
            << low << Lightness::perceived(low[2]) << Lightness::perceived(low[197]);
        // Black and white beyond 1 % of the cells each.
        for (int i = 0; i < 100; ++i)
            full << (i < 3 ? 0.0f : i > 96 ? 1.0f : float(i) / 100);
        QTest::newRow("full range left alone") << full << 0.0 << 1.0;
        QTest::newRow("one lightness throughout left alone") << QList<float>(50, 0.3f) << 0.0 << 1.0;
    }
    void levels()
    {
        QFETCH(QList<float>, light);
        QFETCH(double, dark);
        QFETCH(double, bright);
        CellGrid<float> grid(int(light.size()), 1);
        grid.cells.assign(light.begin(), light.end());
        const Levels levels = levelsOf(grid);
        QCOMPARE(levels.dark, dark);
        QCOMPARE(levels.light, bright);
    }

    // Shades of light 1, 0.75, 0.5 and 0 on paper span black to white, so a cell's target is its own
    // light, which diffusion mixes of the two nearest.
    void diffusionMixesTheTwoNearest_data()
    {
        QTest::addColumn<bool>("diffusion");
        QTest::addColumn<bool>("lightOnDark");
        QTest::addColumn<QString>("used"); // the characters of a 40 x 40 grid of light 0.6, as they come
        QTest::addColumn<double>("mixed"); // the light they give
        QTest::addColumn<bool>("placed");  // the quarters given too, so that the mix is swapped into place
        QTest::newRow("0.5 and 0.75 give 0.6") << true << false << "ba" << 0.6 << false;
        QTest::newRow("swapped into place, 0.6 still") << true << false << "ba" << 0.6 << true;
        // Lightness 0.818 lies nearer 0.761 (light 0.5) than 0.894 (light 0.75).
        QTest::newRow("undiffused: the closest to the eye") << false << false << "b" << 0.5 << false;
        // Light ink on black: the shades are 0, 0.25, 0.5 and 1.
        QTest::newRow("light on dark: 0.5 and 1 give 0.6") << true << true << "bc" << 0.6 << true;
    }
    void diffusionMixesTheTwoNearest()
    {
        QFETCH(bool, diffusion);
        QFETCH(bool, lightOnDark);
        QFETCH(QString, used);
        QFETCH(double, mixed);
        QFETCH(bool, placed);
        const std::vector<double> ink{0, 0.25, 0.5, 1};
        std::vector<CharacterInk> coverage;
        for (const double share : ink)
            coverage.push_back({share, {share, share, share, share}});
        const InkShades shades({QStringLiteral(" "), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, coverage, lightOnDark);
        CellGrid<float> light(40, 40);
        std::fill(light.cells.begin(), light.cells.end(), 0.6f);
        CellGrid<Quarters<float>> quarters(40, 40);
        std::fill(quarters.cells.begin(), quarters.cells.end(), Quarters<float>{0.6f, 0.6f, 0.6f, 0.6f});
        InkDiffusion diffused(shades, light, placed ? &quarters : nullptr, cellSizeFor(10), Levels{}, diffusion);
        QString art;
        for (int r = 0; r < light.rows; ++r)
            art += diffused.nextRow();
        QString chosen;
        double sum = 0;
        for (const QChar c : art) {
            chosen += chosen.contains(c) ? QString() : QString(c);
            sum += lightOnDark ? ink[std::size_t(QStringLiteral(" abc").indexOf(c))] : 1 - ink[std::size_t(QStringLiteral(" abc").indexOf(c))];
        }
        QCOMPARE(chosen, used);
        QVERIFY2(std::abs(sum / double(art.size()) - mixed) < 0.005, qPrintable(QString::number(sum / double(art.size()))));
    }

    // Of two characters of one shade, a cell darker at the top gets the one inked at the top, and
    // one darker below the other.
    void inkPlacedWhereTheCellIsDark()
    {
        // With a full block, black to white: a cell's target is its own light.
        const InkShades shades({QStringLiteral(" "), QStringLiteral("T"), QStringLiteral("B"), QStringLiteral("\u2588")},
                               {{0, {}}, {0.5, {1, 1, 0, 0}}, {0.5, {0, 0, 1, 1}}, {1, {1, 1, 1, 1}}}, false);
        QCOMPARE(shades.count(), 4);
        CellGrid<float> light(2, 1);
        light.cells = {0.5f, 0.5f};
        CellGrid<Quarters<float>> quarters(2, 1);
        quarters.cells = {{0, 0, 1, 1}, {1, 1, 0, 0}};
        InkDiffusion placed(shades, light, &quarters, cellSizeFor(10), Levels{}, false);
        QCOMPARE(placed.nextRow(), QStringLiteral("TB"));
    }

    // Swaps only move shades about, and only where the eye they model sees the art come nearer
    // the picture: here an art of shades scrambled among neighbours is largely put back.
    void swapsPutScrambledShadesBack()
    {
        const CellSize cell{8, 13};
        const InkShades shades({QStringLiteral(" "), QStringLiteral("."), QStringLiteral("'"), QStringLiteral("+"), QStringLiteral("#")},
                               {{0, {}}, {0.1, {0, 0, 0.2, 0.2}}, {0.1, {0.2, 0.2, 0, 0}}, {0.4, {0.3, 0.5, 0.5, 0.3}}, {0.8, {0.8, 0.8, 0.8, 0.8}}},
                               false);
        const int columns = 20, rows = 10;
        CellGrid<int> wanted(columns, rows), art(columns, rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                wanted.at(c, r) = c + r < 12 ? (c * 7 + r * 3) % 5 : (c % 2 ? 1 : 2);
        art = wanted;
        std::mt19937 scramble(7);
        for (int step = 0; step < 300; ++step) {
            const int c = int(scramble() % (columns - 1)), r = int(scramble() % (rows - 1));
            std::swap(art.at(c, r), scramble() % 2 ? art.at(c + 1, r) : art.at(c, r + 1));
        }
        NeighbourSwaps swaps(shades, cell, columns);
        CellGrid<Quarters<double>> picture(columns, rows), before(columns, rows), after(columns, rows);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                picture.at(c, r) = shades.quartersOf(wanted.at(c, r));
                before.at(c, r) = shades.quartersOf(art.at(c, r));
            }
            swaps.addRow(art.row(r), picture.row(r));
        }
        swaps.settle(1, rows);
        std::vector<int> given = art.cells, kept;
        for (int r = 0; r < rows; ++r) {
            kept.insert(kept.end(), swaps.row(r).begin(), swaps.row(r).end());
            for (int c = 0; c < columns; ++c)
                after.at(c, r) = shades.quartersOf(swaps.row(r)[std::size_t(c)]);
        }
        const double missed = eyeMiss(cell, before, picture), left = eyeMiss(cell, after, picture);
        QVERIFY2(left < 0.6 * missed, qPrintable(QStringLiteral("%1 to %2").arg(missed).arg(left)));
        QVERIFY(std::equal(kept.begin(), kept.begin() + columns, given.begin()));
        std::sort(given.begin(), given.end());
        std::sort(kept.begin(), kept.end());
        QVERIFY(given == kept);
    }

    // A swap that gains only a little is still taken: where two cells' blurs overlap, what one
    // cell gives up the other takes back, so the eye sees less change than in each alone.
    void swapTakenForASmallGain()
    {
        const CellSize cell = cellSizeFor(10);
        const InkShades shades({QStringLiteral(" "), QStringLiteral("\u2588")}, {{0, {}}, {1, {1, 1, 1, 1}}}, false);
        CellGrid<Quarters<double>> picture(2, 1), given(2, 1), swapped(2, 1);
        picture.cells = {{0.55, 0.55, 0.55, 0.55}, {0.45, 0.45, 0.45, 0.45}};
        given.cells = {shades.quartersOf(0), shades.quartersOf(1)};
        swapped.cells = {given.cells[1], given.cells[0]};
        QVERIFY(eyeMiss(cell, swapped, picture) < eyeMiss(cell, given, picture));
        NeighbourSwaps swaps(shades, cell, 2);
        const std::vector<int> art{0, 1};
        swaps.addRow(art, picture.row(0));
        swaps.settle(0, 1);
        QCOMPARE(std::vector<int>(swaps.row(0).begin(), swaps.row(0).end()), (std::vector<int>{1, 0}));
    }

    // Light adds up linearly: each cell's light, and each quarter's, is the mean linear light over
    // it of the scaled picture, pixel x of which copies source pixel floor(x / factor), the cell
    // cut at half its width and height.
    void quartersOfTheScaledPicture()
    {
        QImage picture(37, 53, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb((x * 41 + y * 7) % 256, (x * y * 3) % 256, (y * 29 + x) % 256));
        const auto linear = [&](int x, int y) {
            const QRgb p = picture.pixel(x, y);
            const auto &level = Lightness::linearOfLevel();
            return Lightness::redWeight * level[std::size_t(qRed(p))] + Lightness::greenWeight * level[std::size_t(qGreen(p))]
                 + Lightness::blueWeight * level[std::size_t(qBlue(p))];
        };
        for (const float factor : {1.0f, 2.5f, 0.5f}) {
            CellSampler sampler(mapAxis(37, factor, 8), mapAxis(53, factor, 13), CellSampler::Keep::greysAndLight);
            for (int y = 0; !sampler.complete(); ++y)
                sampler.addSourceRow(reinterpret_cast<const QRgb *>(picture.constScanLine(y)));
            const CellTones tones = sampler.takeCellTones();
            for (int r = 0; r < tones.lightQuarters.rows; ++r) {
                for (int c = 0; c < tones.lightQuarters.columns; ++c) {
                    Quarters<double> sums{};
                    for (int y = 0; y < 13; ++y)
                        for (int x = 0; x < 8; ++x)
                            sums[std::size_t((y < 6 ? 0 : 2) + (x < 4 ? 0 : 1))] += linear(int((c * 8 + x) / factor), int((r * 13 + y) / factor));
                    const Quarters<float> measured = tones.lightQuarters.at(c, r);
                    const double whole = (sums[0] + sums[1] + sums[2] + sums[3]) / 104;
                    const bool alike = std::abs(tones.light.at(c, r) - whole) < 1e-5 && std::abs(measured[0] - sums[0] / 24) < 1e-5
                                    && std::abs(measured[1] - sums[1] / 24) < 1e-5 && std::abs(measured[2] - sums[2] / 28) < 1e-5
                                    && std::abs(measured[3] - sums[3] / 28) < 1e-5;
                    QVERIFY2(alike, qPrintable(QStringLiteral("factor %1, cell %2, %3").arg(factor).arg(c).arg(r)));
                }
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestTones)
#include "tst_tones.moc"
