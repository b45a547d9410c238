#include "AxisMapping.h"
#include "CellMetrics.h"
#include "CharacterMapping.h"
#include "ToneSampling.h"
#include "modColour.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>

using modColour::Colour;
using modColour::RGB;

// From pixels to characters: the cell size, the mean colour of each cell of the scaled picture,
// its grey, and the ramp character of that grey's band.
class TestTones : public QObject
{
    Q_OBJECT

private slots:
    void cellSize_data()
    {
        QTest::addColumn<int>("detail");
        QTest::addColumn<QSize>("cell");
        QTest::newRow("detail 1 is one pixel") << 1 << QSize(1, 1);
        QTest::newRow("detail 9") << 9 << QSize(7, 12);
        QTest::newRow("detail 10") << 10 << QSize(8, 13);
        QTest::newRow("detail 12") << 12 << QSize(10, 16);
        QTest::newRow("detail 200") << 200 << QSize(160, 267);
        QTest::newRow("detail 255") << 255 << QSize(204, 340);
    }
    void cellSize()
    {
        QFETCH(int, detail);
        QFETCH(QSize, cell);
        const CellSize size = cellSizeFor(quint8(detail));
        QCOMPARE(QSize(size.width, size.height), cell);
    }

    void greyWeighsChannelsAlike()
    {
        QCOMPARE(modColour::GreyColour(RGB(255, 0, 0)), RGB(85, 85, 85));
        QCOMPARE(modColour::GreyColour(RGB(0, 0, 255)), RGB(85, 85, 85));
        QCOMPARE(modColour::GreyColour(RGB(1, 1, 0)), RGB(1, 1, 1)); // 2/3 rounds up
        QCOMPARE(modColour::GreyColour(RGB(1, 0, 0)), RGB(0, 0, 0)); // 1/3 rounds down
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

    // Each cell's mean against the scaled picture built pixel by pixel, as a user pictures the
    // nearest-neighbour enlargement: every scaled pixel filled, partial cells cut away.
    void cellsMatchTheScaledPicture_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<float>("factor");
        QTest::addColumn<int>("detail");
        QTest::newRow("unscaled, detail 10") << QSize(61, 43) << 1.0f << 10;
        QTest::newRow("doubled, detail 10") << QSize(37, 29) << 2.0f << 10;
        QTest::newRow("tripled, detail 1") << QSize(13, 11) << 3.0f << 1;
        QTest::newRow("1.5, detail 9") << QSize(41, 33) << 1.5f << 9;
        QTest::newRow("0.37, detail 2") << QSize(97, 71) << 0.37f << 2;
        QTest::newRow("half, detail 3") << QSize(64, 50) << 0.5f << 3;
        QTest::newRow("negative, detail 4") << QSize(40, 30) << -2.0f << 4;
        QTest::newRow("factor larger than the cell") << QSize(9, 7) << 11.0f << 2;
    }
    void cellsMatchTheScaledPicture()
    {
        QFETCH(QSize, size);
        QFETCH(float, factor);
        QFETCH(int, detail);
        QRandomGenerator random(size.width() * 131 + size.height());
        QImage picture(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                picture.setPixel(x, y, random.generate() | 0xFF000000u);
        const float s = factor < 0 ? 1.0f : factor;
        QImage scaled(int(std::nearbyint(double(float(size.width()) * s))), int(std::nearbyint(double(float(size.height()) * s))),
                      QImage::Format_RGB32);
        for (int y = 0; y < scaled.height(); ++y)
            for (int x = 0; x < scaled.width(); ++x)
                scaled.setPixel(x, y, picture.pixel(int(std::floor(x / double(s))), int(std::floor(y / double(s)))));

        const CellSize cell = cellSizeFor(quint8(detail));
        CellSampler sampler(mapAxis(size.width(), factor, cell.width), mapAxis(size.height(), factor, cell.height));
        for (int y = 0; !sampler.complete(); ++y)
            sampler.addSourceRow(reinterpret_cast<const QRgb *>(picture.constScanLine(y)));
        const CellGrid<Colour> &colours = sampler.cellColour();
        QCOMPARE(colours.columns, scaled.width() / cell.width);
        QCOMPARE(colours.rows, scaled.height() / cell.height);
        for (int r = 0; r < colours.rows; ++r) {
            for (int c = 0; c < colours.columns; ++c) {
                std::vector<Colour> pixels;
                for (int py = 0; py < cell.height; ++py)
                    for (int px = 0; px < cell.width; ++px) {
                        const QRgb p = scaled.pixel(c * cell.width + px, r * cell.height + py);
                        pixels.push_back(RGB(qRed(p), qGreen(p), qBlue(p)));
                    }
                QCOMPARE(colours.at(c, r), modColour::AverageColour(pixels));
            }
        }
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

    void greysToCharacters_data()
    {
        QTest::addColumn<QString>("ramp");
        QTest::addColumn<std::vector<quint8>>("greys");
        QTest::addColumn<QString>("row");
        const QString four = QStringLiteral(" .:#");
        QTest::newRow("darkest band") << four << std::vector<quint8>{0, 63} << QStringLiteral("##");
        QTest::newRow("second band") << four << std::vector<quint8>{64, 127} << QStringLiteral("::");
        QTest::newRow("third band") << four << std::vector<quint8>{128, 190} << QStringLiteral("..");
        QTest::newRow("lightest band, 255 included") << four << std::vector<quint8>{191, 255} << QStringLiteral("  ");
        QTest::newRow("one character takes every grey") << QStringLiteral("@") << std::vector<quint8>{0, 128, 255} << QStringLiteral("@@@");
        QTest::newRow("a repeated character keeps both bands") << QStringLiteral("aa") << std::vector<quint8>{0, 255} << QStringLiteral("aa");
        QTest::newRow("characters outside the basic plane stay whole")
            << QStringLiteral(" \U0001F600") << std::vector<quint8>{0, 255} << QStringLiteral("\U0001F600 ");
        QTest::newRow("an empty ramp draws nothing") << QString() << std::vector<quint8>{0, 100, 255} << QString();
    }
    void greysToCharacters()
    {
        QFETCH(QString, ramp);
        QFETCH(std::vector<quint8>, greys);
        QFETCH(QString, row);
        QCOMPARE(assembleRow(greys, buildRampTables(ramp)), row);
    }
};

QTEST_APPLESS_MAIN(TestTones)
#include "tst_tones.moc"
