#include "engine/cells/InkDiffusion.h"
#include "engine/cells/Levels.h"
#include "engine/cells/Lightness.h"
#include "engine/modASCII.h"
#include "engine/render/ArtRenderer.h"
#include "engine/render/InkCoverage.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Keeps the rows of a run.
struct RowsKept : RunObserver
{
    QStringList rows;
    void progress(const ProgressUpdate &) override {}
    void rowAssembled(const QString &rowText) override { rows << rowText; }
    void runEnded(const RunOutcome &) override {}
};

CellGrid<float> flatGrid(int columns, int rows, float light)
{
    CellGrid<float> grid(columns, rows);
    std::fill(grid.cells.begin(), grid.cells.end(), light);
    return grid;
}

} // namespace

// The ink mapping: what the characters' ink is measured to be, how a photo's range is stretched,
// and what diffusion mixes; whole runs for the shades the art then shows.
class TestInk : public QObject
{
    Q_OBJECT

private slots:
    void coverageOfDrawnCharacters()
    {
        const std::vector<double> ink = inkCoverageOf({QStringLiteral(" "), QStringLiteral("."), QStringLiteral("@"), QStringLiteral("\u2588")},
                                                      cellSizeFor(10));
        QCOMPARE(ink[0], 0.0);
        QVERIFY2(ink[1] > 0 && ink[1] < ink[2], qPrintable(QStringLiteral("'.' %1, '@' %2").arg(ink[1]).arg(ink[2])));
        QVERIFY2(ink[3] > 0.95, qPrintable(QString::number(ink[3])));
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
        std::copy(light.begin(), light.end(), grid.cells.begin());
        const Levels levels = levelsOf(grid);
        QCOMPARE(levels.dark, dark);
        QCOMPARE(levels.light, bright);
    }

    // Shades of light 1, 0.75, 0.5 and 0 on paper span black to white, so a cell's target is its own light.
    void diffusionMixesTheTwoNearest_data()
    {
        QTest::addColumn<bool>("diffusion");
        QTest::addColumn<bool>("lightOnDark");
        QTest::addColumn<QString>("expected"); // the characters' shares, a 40 x 40 grid of light 0.6
        QTest::newRow("0.4 of 0.75 and 0.6 of 0.5 give 0.6") << true << false << "a 0.40 b 0.60";
        // Lightness 0.818 lies nearer 0.761 (light 0.5) than 0.894 (light 0.75).
        QTest::newRow("undiffused: the closest to the eye") << false << false << "b 1.00";
        // Light ink on black: the shades are 0, 0.25, 0.5 and 1.
        QTest::newRow("light on dark: 0.8 of 0.5 and 0.2 of 1") << true << true << "b 0.80 c 0.20";
    }
    void diffusionMixesTheTwoNearest()
    {
        QFETCH(bool, diffusion);
        QFETCH(bool, lightOnDark);
        QFETCH(QString, expected);
        const InkShades shades({QStringLiteral(" "), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, {0, 0.25, 0.5, 1},
                               lightOnDark);
        const CellGrid<float> light = flatGrid(40, 40, 0.6f);
        InkDiffusion ink(shades, light, Levels{}, diffusion);
        QString art;
        for (int r = 0; r < light.rows; ++r)
            art += ink.nextRow();
        QStringList shares;
        for (const QChar c : QStringLiteral(" abc")) {
            if (const qsizetype n = art.count(c))
                shares << QString(c) + QStringLiteral(" %1").arg(double(n) / double(art.size()), 0, 'f', 2);
        }
        QCOMPARE(shares.join(u' '), expected);
    }

    // A photo of a grey ramp drawn with too few grey bands shows steps and flat runs; the ink shows
    // its shades rising from cell to cell, seen a few cells at a time.
    void gradientRisesAcross()
    {
        QTemporaryDir dir;
        const CellSize cell = cellSizeFor(10);
        QImage ramp(cell.width * 120, cell.height * 24, QImage::Format_RGB32);
        for (int x = 0; x < ramp.width(); ++x)
            for (int y = 0; y < ramp.height(); ++y)
                ramp.setPixel(x, y, qRgb(x * 255 / (ramp.width() - 1), x * 255 / (ramp.width() - 1), x * 255 / (ramp.width() - 1)));
        QVERIFY(ramp.save(dir.filePath(QStringLiteral("ramp.png"))));
        RunParameters p{dir.filePath(QStringLiteral("ramp.png")), dir.filePath(QStringLiteral("ramp.txt")), QStringLiteral(" .:;+=xX#@")};
        p.tone = ToneMapping::ink;
        RowsKept kept;
        QVERIFY(MakeASCIIPicture(p, kept).succeeded());
        const QImage art = ArtRenderer::render(kept.rows, 10);
        QCOMPARE(art.size(), ramp.size());
        const int span = 4 * cell.width;
        double previous = -1;
        for (int left = 0; left < art.width(); left += span) {
            double light = 0;
            for (int y = 0; y < art.height(); ++y)
                for (int x = left; x < left + span; ++x)
                    light += Lightness::linearOfLevel()[qGray(art.pixel(x, y))];
            QVERIFY2(light > previous, qPrintable(QStringLiteral("cells %1 to %2").arg(left / cell.width).arg(left / cell.width + 3)));
            previous = light;
        }
        // Black to white: the darkest shade at the left, white at the right.
        QCOMPARE(kept.rows[0].front(), u'@');
        QCOMPARE(kept.rows[0].back(), u' ');
    }
};

QTEST_MAIN(TestInk)
#include "tst_ink.moc"
