#include "ArtFile.h"
#include "ArtRenderer.h"
#include "RampFile.h"
#include "RecordingObserver.h"
#include "modASCII.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

// Character art drawn as a picture, and art files read back.
class TestArtRenderer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void everyCharacterInItsOwnCell();
    void inkFollowsTheRamps();
    void filesReadBackAlike();
};

namespace {

// How much ink the cell at column `c` of the first row holds: 0 blank, 255 solid.
double inkOf(const QImage &art, int c, CellSize cell)
{
    double ink = 0;
    for (int y = 0; y < cell.height; ++y) {
        for (int x = 0; x < cell.width; ++x)
            ink += 255 - qGray(art.pixel(c * cell.width + x, y));
    }
    return ink / (cell.width * cell.height);
}

// The rows of a run, as assembled.
class RowKeeper : public RecordingObserver
{
public:
    QStringList rows;
    void rowAssembled(const QString &rowText) override { rows << rowText; }
};

} // namespace

void TestArtRenderer::everyCharacterInItsOwnCell()
{
    const CellSize cell = cellSizeFor(10);
    const QImage whole = ArtRenderer::render({QStringLiteral("@#W"), QStringLiteral("M%&")}, 10);
    QCOMPARE(whole.size(), QSize(24, 26));
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            // Alone in the grid, a character inks its own cell and nothing else.
            QStringList rows{QStringLiteral("   "), QStringLiteral("   ")};
            rows[r][c] = (r == 0 ? QStringLiteral("@#W") : QStringLiteral("M%&"))[c];
            const QImage alone = ArtRenderer::render(rows, 10);
            const QRect own(c * cell.width, r * cell.height, cell.width, cell.height);
            bool inked = false;
            for (int y = 0; y < alone.height(); ++y) {
                for (int x = 0; x < alone.width(); ++x) {
                    const bool ink = qGray(alone.pixel(x, y)) < 255;
                    QVERIFY2(!ink || own.contains(x, y), qPrintable(QStringLiteral("ink of %1 at %2,%3").arg(rows[r][c]).arg(x).arg(y)));
                    inked = inked || ink;
                    QCOMPARE(alone.pixel(x, y), own.contains(x, y) ? whole.pixel(x, y) : qRgb(255, 255, 255));
                }
            }
            QVERIFY(inked);
        }
    }
    QVERIFY(ArtRenderer::render({}, 10).isNull());
}

void TestArtRenderer::inkFollowsTheRamps()
{
    // A gradient from white to black across, converted with every shipped ramp: along the row
    // the characters run through the ramp, and their ink must rise with them.
    QImage gradient(800, 13, QImage::Format_RGB32);
    for (int x = 0; x < gradient.width(); ++x) {
        for (int y = 0; y < gradient.height(); ++y)
            gradient.setPixel(x, y, qRgb(255 - x * 255 / 799, 255 - x * 255 / 799, 255 - x * 255 / 799));
    }
    const QString source = m_dir.filePath(QStringLiteral("gradient.png"));
    QVERIFY(gradient.save(source));
    const QStringList ramps = RampFile::read(QStringLiteral(GLYPHSMITH_TEST_DATA "/../../resources/Formats.TXT"));
    QVERIFY(ramps.size() > 1);
    const CellSize cell = cellSizeFor(10);
    for (const QString &ramp : ramps) {
        RowKeeper rows;
        MakeASCIIPicture({source, m_dir.filePath(QStringLiteral("gradient.txt")), ramp, 1.0f, 10, false}, rows);
        QCOMPARE(rows.rows.size(), 1);
        const QString row = rows.rows.first();
        const QImage art = ArtRenderer::render(rows.rows, 10);
        // Each cell holds exactly the ink of its own character drawn alone, so the row darkens
        // wherever its characters do; and with every ramp the row darkens quarter by quarter.
        for (int c = 0; c < row.size(); ++c)
            QCOMPARE(inkOf(art, c, cell), inkOf(ArtRenderer::render({QString(row[c])}, 10), 0, cell));
        double previous = -1;
        for (int part = 0; part < 4; ++part) {
            double ink = 0;
            for (int c = part * row.size() / 4; c < (part + 1) * row.size() / 4; ++c)
                ink += inkOf(art, c, cell);
            QVERIFY2(ink >= previous, qPrintable(ramp));
            previous = ink;
        }
    }
}

void TestArtRenderer::filesReadBackAlike()
{
    const QString photo = QStringLiteral(GLYPHSMITH_TEST_DATA "/good/photo.jpg");
    // Plain text keeps only the code page; RTF and HTML keep any character by its number.
    const QList<std::pair<QString, QStringList>> cases{
        {QStringLiteral(" .:&<>{}\\@"), {QStringLiteral("art.txt"), QStringLiteral("art.rtf"), QStringLiteral("art.html")}},
        {QStringLiteral(" \u2591\u2592\u2593\u2588"), {QStringLiteral("blocks.rtf"), QStringLiteral("blocks.htm")}},
    };
    for (const auto &[ramp, names] : cases) {
        QImage first;
        for (const QString &name : names) {
            RowKeeper run;
            const QString output = m_dir.filePath(name);
            MakeASCIIPicture({photo, output, ramp, 1.0f, 4, true}, run);
            const std::optional<ArtFile> art = readArtFile(output);
            QVERIFY2(art, qPrintable(name));
            QCOMPARE(art->rows, run.rows);
            QCOMPARE(art->detail, std::optional<quint8>(4));
            const QImage picture = ArtRenderer::render(art->rows, *art->detail);
            if (first.isNull())
                first = picture;
            QCOMPARE(picture, first);
        }
    }
    // Without its reminder a text file does not say its detail; without its trailer it is not art.
    RowKeeper run;
    MakeASCIIPicture({photo, m_dir.filePath(QStringLiteral("plain.txt")), QStringLiteral(" .:#"), 1.0f, 4, false}, run);
    QCOMPARE(readArtFile(m_dir.filePath(QStringLiteral("plain.txt")))->detail, std::nullopt);
    QFile cut(m_dir.filePath(QStringLiteral("plain.txt")));
    QVERIFY(cut.resize(cut.size() - 5));
    QVERIFY(!readArtFile(cut.fileName()));
    QVERIFY(!readArtFile(photo));
}

QTEST_MAIN(TestArtRenderer)
#include "tst_artrenderer.moc"
