#include "AxisMapping.h"
#include "CellMetrics.h"
#include "ToneSampling.h"
#include "modColour.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>

using modColour::Colour;
using modColour::RGB;

namespace {

QImage pictureOf(int width, int height, const std::function<QRgb(int, int)> &pixel)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, pixel(x, y));
    return image;
}

// The scaled picture built pixel by pixel, as a user pictures the nearest-neighbour enlargement.
QImage scaledLiterally(const QImage &source, float s)
{
    const int width = int(std::nearbyint(double(float(source.width()) * s)));
    const int height = int(std::nearbyint(double(float(source.height()) * s)));
    return pictureOf(width, height, [&](int x, int y) {
        return source.pixel(int(std::floor(x / double(s))), int(std::floor(y / double(s))));
    });
}

CellGrid<Colour> sampled(const QImage &picture, float s, CellSize cell)
{
    CellSampler sampler(mapAxis(picture.width(), s, cell.width), mapAxis(picture.height(), s, cell.height));
    for (int y = 0; !sampler.complete(); ++y)
        sampler.addSourceRow(reinterpret_cast<const QRgb *>(picture.constScanLine(y)));
    return sampler.cellColour();
}

// Each cell's mean taken straight from the pixels it covers in `scaled`.
Colour literalMean(const QImage &scaled, int column, int row, CellSize cell)
{
    std::vector<Colour> pixels;
    for (int px = 0; px < cell.width; ++px)
        for (int py = 0; py < cell.height; ++py) {
            const QRgb p = scaled.pixel(column * cell.width + px, row * cell.height + py);
            pixels.push_back(RGB(qRed(p), qGreen(p), qBlue(p)));
        }
    return modColour::AverageColour(pixels);
}

} // namespace

class TestToneSampling : public QObject
{
    Q_OBJECT

private slots:
    void cellSize_data()
    {
        QTest::addColumn<int>("detail");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("detail 1 is one pixel") << 1 << 1 << 1;
        QTest::newRow("detail 9") << 9 << 7 << 12;
        QTest::newRow("detail 10") << 10 << 8 << 13;
        QTest::newRow("detail 12") << 12 << 10 << 16;
        QTest::newRow("detail 200") << 200 << 160 << 267;
        QTest::newRow("detail 255") << 255 << 204 << 340;
    }
    void cellSize()
    {
        QFETCH(int, detail);
        const CellSize cell = cellSizeFor(quint8(detail));
        QFETCH(int, width);
        QFETCH(int, height);
        QCOMPARE(cell.width, width);
        QCOMPARE(cell.height, height);
    }

    void greyWeighsChannelsAlike()
    {
        QCOMPARE(modColour::GreyColour(RGB(255, 0, 0)), RGB(85, 85, 85));
        QCOMPARE(modColour::GreyColour(RGB(0, 0, 255)), RGB(85, 85, 85));
        QCOMPARE(modColour::GreyColour(RGB(1, 1, 0)), RGB(1, 1, 1)); // 2/3 rounds up
        QCOMPARE(modColour::GreyColour(RGB(1, 0, 0)), RGB(0, 0, 0)); // 1/3 rounds down
    }

    void averageRoundsHalvesToEven_data()
    {
        QTest::addColumn<QList<int>>("reds");
        QTest::addColumn<int>("mean");
        QTest::newRow("0 and 1 average 0.5, which goes to 0") << QList<int>{0, 1} << 0;
        QTest::newRow("1 and 2 average 1.5, which goes to 2") << QList<int>{1, 2} << 2;
        QTest::newRow("2 and 3 average 2.5, which goes to 2") << QList<int>{2, 3} << 2;
        QTest::newRow("a third rounds down") << QList<int>{0, 0, 1} << 0;
        QTest::newRow("two thirds round up") << QList<int>{0, 1, 1} << 1;
        QTest::newRow("254.5 goes to 254") << QList<int>{254, 255} << 254;
    }
    void averageRoundsHalvesToEven()
    {
        QFETCH(QList<int>, reds);
        std::vector<Colour> colours;
        for (int red : reds)
            colours.push_back(RGB(red, red, 255 - red));
        const Colour average = modColour::AverageColour(colours);
        QFETCH(int, mean);
        QCOMPARE(modColour::GetRed(average), mean);
    }

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

    void enlargingFillsEveryPixel()
    {
        // Pixels a, b, c doubled read a a b b c c: no unwritten strip at the right.
        const AxisMapping mapping = mapAxis(3, 2.0f, 1);
        QCOMPARE(mapping.scaledLength, 6);
        QList<int> sources;
        for (const AxisMapping::Cell &cell : mapping.cells) {
            QCOMPARE(cell.tapEnd - cell.tapBegin, 1);
            sources << mapping.taps[cell.tapBegin].source;
        }
        QCOMPARE(sources, (QList<int>{0, 0, 1, 1, 2, 2}));
    }

    void trimmingCutsPartialCells()
    {
        // 100 x 50 pixels in 7 x 12 cells: 14 x 4 cells of 84 pixels, the rest cut away.
        const QImage picture = pictureOf(100, 50, [](int x, int y) { return x >= 98 || y >= 48 ? qRgb(0, 0, 0) : qRgb(200, 100, 50); });
        const CellGrid<Colour> colours = sampled(picture, 1.0f, {7, 12});
        QCOMPARE(colours.columns, 14);
        QCOMPARE(colours.rows, 4);
        for (Colour c : colours.cells)
            QCOMPARE(c, RGB(200, 100, 50));
    }

    void cellsMatchTheScaledPicture_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<float>("factor");
        QTest::addColumn<int>("detail");
        QTest::newRow("unscaled, detail 10") << 61 << 43 << 1.0f << 10;
        QTest::newRow("doubled, detail 10") << 37 << 29 << 2.0f << 10;
        QTest::newRow("tripled, detail 1") << 13 << 11 << 3.0f << 1;
        QTest::newRow("1.5, detail 9") << 41 << 33 << 1.5f << 9;
        QTest::newRow("0.37, detail 2") << 97 << 71 << 0.37f << 2;
        QTest::newRow("half, detail 3") << 64 << 50 << 0.5f << 3;
        QTest::newRow("negative, detail 4") << 40 << 30 << -2.0f << 4;
        QTest::newRow("factor larger than the cell") << 9 << 7 << 11.0f << 2;
    }
    void cellsMatchTheScaledPicture()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(float, factor);
        QFETCH(int, detail);
        QRandomGenerator random(width * 131 + height);
        const QImage picture = pictureOf(width, height, [&](int, int) { return random.generate() | 0xFF000000u; });
        const CellSize cell = cellSizeFor(quint8(detail));
        const QImage scaled = factor < 0 ? picture : scaledLiterally(picture, factor);

        const CellGrid<Colour> colours = sampled(picture, factor, cell);
        QCOMPARE(colours.columns, scaled.width() / cell.width);
        QCOMPARE(colours.rows, scaled.height() / cell.height);
        for (int r = 0; r < colours.rows; ++r)
            for (int c = 0; c < colours.columns; ++c)
                QCOMPARE(colours.at(c, r), literalMean(scaled, c, r, cell));
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
};

QTEST_APPLESS_MAIN(TestToneSampling)
#include "tst_tonesampling.moc"
