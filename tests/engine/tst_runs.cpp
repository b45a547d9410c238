#include "engine/decode/PictureLoader.h"
#include "engine/modASCII.h"
#include "engine/cells/ColourPalettes.h"
#include "engine/cells/Lightness.h"
#include "engine/render/ArtRenderer.h"
#include "engine/render/InkCoverage.h"
#include "engine/text/ArtFile.h"
#include "engine/text/OutputKinds.h"
#include "tests/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <set>

Q_DECLARE_METATYPE(ColourDepth)
Q_DECLARE_METATYPE(ColourLook)

Q_DECLARE_METATYPE(RunResult)

// Whole runs of the engine as its observer sees them: the progress reports, refusals, stopping;
// the art drawn as a picture and read back from its file; the characters' ink as drawn, and the
// shades an ink run gives. The bands' files themselves are compared with the reference model.
class TestRuns : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void progressReports_data();
    void progressReports();
    void progressWhileResizing_data();
    void progressWhileResizing();
    void refusals_data();
    void refusals();
    void stoppedRunKeepsTheOldFile_data();
    void stoppedRunKeepsTheOldFile();
    void photoReadInTwoParts();
    void fuzzedFilesRefusedAtOnce_data();
    void fuzzedFilesRefusedAtOnce();
    void everyCharacterInItsOwnCell();
    void drawnForADenserScreen();
    void filesReadBackAlike();
    void colourRendered_data();
    void colourRendered();
    void coloursReadBack_data();
    void coloursReadBack();
    void inkOfDrawnCharacters();
    void inkGradientRisesAcross();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString halves(const QString &name, QSize size);
    QStringList filesInFolder() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden); }
};

namespace {

// Keeps every call a run makes, and can ask the run to stop at a given yield.
struct RecordingObserver : RunObserver
{
    QList<ProgressUpdate> updates;
    QStringList rows;
    int drawingBeganAfter = -1; // how many updates came before drawingBegins()
    int reportsWithoutYield = 0; // reports not preceded by a yield since the one before
    bool yielded = false;
    std::function<bool(const RecordingObserver &)> stopWhen; // asked at every yield
    std::optional<RunOutcome> ended;
    int callsAfterEnd = 0;

    void progress(const ProgressUpdate &update) override
    {
        callsAfterEnd += ended ? 1 : 0;
        reportsWithoutYield += std::exchange(yielded, false) ? 0 : 1;
        updates << update;
    }
    void drawingBegins() override { drawingBeganAfter = int(updates.size()); }
    void rowAssembled(const QString &rowText) override { rows << rowText; }
    bool yield() override
    {
        callsAfterEnd += ended ? 1 : 0;
        yielded = true;
        return !stopWhen || !stopWhen(*this);
    }
    void runEnded(const RunOutcome &outcome) override
    {
        callsAfterEnd += ended ? 1 : 0;
        ended = outcome;
    }
    QList<ProgressUpdate> updatesOf(RunPhase phase) const
    {
        QList<ProgressUpdate> found;
        for (const ProgressUpdate &u : updates)
            if (u.phase == phase)
                found << u;
        return found;
    }
    // The percentages of one phase in order, "-" for a report without one.
    QString percentsOf(RunPhase phase) const
    {
        QStringList percents;
        for (const ProgressUpdate &u : updatesOf(phase))
            percents << (u.percent ? QString::number(*u.percent) : QStringLiteral("-"));
        return percents.join(u' ');
    }
};

} // namespace

// A picture whose left half is black and right half white, saved as PNG.
QString TestRuns::halves(const QString &name, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width() / 2; ++x)
            image.setPixel(x, y, qRgb(0, 0, 0));
    image.save(path(name));
    return path(name);
}

// Sampling column c of C reports c x 100 / C / 2, greying the same plus 50, drawing row r of R
// r x 100 / (R - 1); a negative size reads every column while resizing, at x x 100 / W / 2.
void TestRuns::progressReports_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<float>("factor");
    QTest::addColumn<QString>("resizing");
    QTest::addColumn<QString>("sampling");
    QTest::addColumn<QString>("greying");
    QTest::addColumn<QString>("drawing");
    QTest::newRow("5 x 3 cells, never resized") << QSize(40, 39) << 1.0f << "" << "0 10 20 30 40" << "50 60 70 80 90" << "0 50 100";
    QTest::newRow("one row has no drawing percentage") << QSize(40, 13) << 1.0f << "" << "0 10 20 30 40" << "50 60 70 80 90" << "-";
    // 15 x 100 / 16 / 2 is 46.875.
    QTest::newRow("negative size only reads") << QSize(16, 26) << -2.0f << "0 3 6 9 12 16 19 22 25 28 31 34 38 41 44 47" << "0 25"
                                              << "50 75" << "0 100";
}

void TestRuns::progressReports()
{
    QFETCH(QSize, size);
    QFETCH(float, factor);
    RecordingObserver observer;
    // A JPEG of one scan, so that two decoders share the rows.
    QVERIFY(MakeASCIIPicture({halves(QStringLiteral("p.jpg"), size), path(QStringLiteral("p.txt")), QStringLiteral(" .:#"), factor},
                             observer).succeeded());
    QFETCH(QString, resizing);
    QFETCH(QString, sampling);
    QFETCH(QString, greying);
    QFETCH(QString, drawing);
    QCOMPARE(observer.percentsOf(RunPhase::Resizing), resizing);
    QCOMPARE(observer.percentsOf(RunPhase::Sampling), sampling);
    QCOMPARE(observer.percentsOf(RunPhase::Greying), greying);
    QCOMPARE(observer.percentsOf(RunPhase::Drawing), drawing);
    // The phases follow each other, and the make button goes behind the bar just before the first row.
    QCOMPARE(observer.updates.indexOf(observer.updatesOf(RunPhase::Sampling).first()), resizing.isEmpty() ? 0 : resizing.count(u' ') + 1);
    QCOMPARE(observer.drawingBeganAfter, observer.updates.size() - observer.updatesOf(RunPhase::Drawing).size());
    QVERIFY(observer.ended && observer.ended->succeeded());
    QCOMPARE(observer.callsAfterEnd, 0);
    // A stop asked for while a report is shown takes effect before the next one.
    QCOMPARE(observer.reportsWithoutYield, 0);
}

void TestRuns::progressWhileResizing_data()
{
    QTest::addColumn<float>("size");
    QTest::addColumn<int>("writes");
    QTest::newRow("doubling") << 2.0f << 200; // the last write 199 x 100 / 200 / 4 + 50 = 74.875
    // The write loop runs to round(0.5 x 99) = 50 (halves to even), one column past the 50 written: 75.
    QTest::newRow("halving") << 0.5f << 51;
}

void TestRuns::progressWhileResizing()
{
    // A 100-pixel-wide picture: reading shows 0 ... 50 (49.5 goes to 50), writing 50 ... 75.
    QFETCH(float, size);
    QFETCH(int, writes);
    RecordingObserver observer;
    QVERIFY(MakeASCIIPicture({halves(QStringLiteral("p2.png"), {100, 26}), path(QStringLiteral("p2.txt")), QStringLiteral(" .:#"), size},
                             observer).succeeded());
    const QList<ProgressUpdate> resizing = observer.updatesOf(RunPhase::Resizing);
    QCOMPARE(resizing.size(), 100 + writes);
    QCOMPARE(resizing.first().percent, 0);
    QCOMPARE(resizing[99].percent, 50);
    QCOMPARE(resizing[100].percent, 50);
    QCOMPARE(resizing.last().percent, 75);
    QCOMPARE(observer.updates.lastIndexOf(resizing.last()) + 1, observer.updates.indexOf(ProgressUpdate{RunPhase::Sampling, 0}));
}

// A refusal before loading, while loading and of the loaded geometry: each still ends the run
// for its observer and leaves the folder as it was.
void TestRuns::refusals_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("detail");
    QTest::addColumn<RunResult>("result");
    QTest::newRow("detail 0") << QStringLiteral("ok.png") << 0 << RunResult::NoDetail;
    QTest::newRow("not a picture") << QStringLiteral("notes.png") << 10 << RunResult::SourceNotLoaded;
    QTest::newRow("cells larger than the picture") << QStringLiteral("ok.png") << 200 << RunResult::PictureTooSmall;
}

void TestRuns::refusals()
{
    QFETCH(QString, source);
    QFETCH(int, detail);
    QFETCH(RunResult, result);
    halves(QStringLiteral("ok.png"), {64, 52});
    QFile notes(path(QStringLiteral("notes.png")));
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("not a picture\n") == 14);
    notes.close();
    const QStringList before = filesInFolder();
    RecordingObserver observer;
    const RunOutcome outcome = MakeASCIIPicture({path(source), path(QStringLiteral("r.txt")), QStringLiteral(" .#"), 1.0f, quint8(detail)}, observer);
    QCOMPARE(outcome.result, result);
    QVERIFY(!outcome.message().isEmpty());
    QVERIFY(observer.ended && observer.ended->result == result);
    QCOMPARE(filesInFolder(), before);
}

void TestRuns::stoppedRunKeepsTheOldFile_data()
{
    QTest::addColumn<int>("phase"); // the run stops at the first yield of this phase
    QTest::addColumn<int>("rowsWritten");
    QTest::newRow("first yield") << -1 << 0;
    QTest::newRow("while sampling") << int(RunPhase::Sampling) << 0;
    QTest::newRow("while greying") << int(RunPhase::Greying) << 0;
    QTest::newRow("before the last row, the file half written") << int(RunPhase::Drawing) << 3;
}

void TestRuns::stoppedRunKeepsTheOldFile()
{
    QFETCH(int, phase);
    QFETCH(int, rowsWritten);
    const RunParameters p{halves(QStringLiteral("stop.png"), {40, 52}), path(QStringLiteral("stop.txt")), QStringLiteral(" .:#")};
    QFile old(p.outputPath);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("the art of yesterday\r\n") == 22);
    old.close();
    const QStringList before = filesInFolder();

    RecordingObserver observer;
    observer.stopWhen = [&](const RecordingObserver &seen) {
        return phase < 0 || seen.updatesOf(RunPhase(phase)).size() > qsizetype(std::max(rowsWritten - 1, 0));
    };
    QCOMPARE(MakeASCIIPicture(p, observer).result, RunResult::Stopped);
    QVERIFY(observer.ended && observer.ended->result == RunResult::Stopped);
    QCOMPARE(observer.updatesOf(RunPhase::Drawing).size(), rowsWritten);
    QCOMPARE(contentsOf(p.outputPath), QByteArray("the art of yesterday\r\n"));
    QCOMPARE(filesInFolder(), before);
}

// A photo of one scan is read by two decoders at once, the lower rows on a thread of their own: a
// stop ends both, and a file cut short in either part is refused as cut short.
void TestRuns::photoReadInTwoParts()
{
    const QByteArray photo = contentsOf(QStringLiteral(GLYPHSMITH_TEST_DATA "/good/photo.jpg"));
    QVERIFY(!photo.isEmpty());
    const RunParameters stop{QStringLiteral(GLYPHSMITH_TEST_DATA "/good/photo.jpg"), path(QStringLiteral("stopped.txt")), QStringLiteral(" .:#")};
    RecordingObserver stopping;
    stopping.stopWhen = [](const RecordingObserver &seen) { return !seen.updatesOf(RunPhase::Sampling).isEmpty(); };
    QCOMPARE(MakeASCIIPicture(stop, stopping).result, RunResult::Stopped);
    QVERIFY(!QFile::exists(stop.outputPath));
    for (const qsizetype kept : {photo.size() / 5, photo.size() * 9 / 10}) {
        QVERIFY(writeFile(path(QStringLiteral("cut.jpg")), photo.left(kept)));
        RecordingObserver run;
        const RunOutcome outcome = MakeASCIIPicture({path(QStringLiteral("cut.jpg")), path(QStringLiteral("cut.txt")), QStringLiteral(" .:#")}, run);
        QCOMPARE(outcome.result, RunResult::SourceNotLoaded);
        QVERIFY2(outcome.cause.endsWith(PictureLoader::cutShort), qPrintable(outcome.cause));
        QVERIFY(!QFile::exists(path(QStringLiteral("cut.txt"))));
    }
}

// Files a few hundred bytes long that declare pictures of gigabytes, or whose data runs out: each is
// refused before anything large is allocated, within a budget the test machine always has.
void TestRuns::fuzzedFilesRefusedAtOnce_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<RunResult>("result");
    QTest::addColumn<QString>("cause");
    const QString noRoom = QStringLiteral("decoding it takes %1 MiB, more than the 512 MiB allowed");
    QTest::newRow("three scans at 4:4:4") << "jpeg-3-scans-32767x32767-444-needs-6-GiB.jpg" << RunResult::NotEnoughMemory << noRoom.arg(6144);
    QTest::newRow("three scans at 4:2:0") << "jpeg-3-scans-32767x32767-420-needs-3-GiB.jpg" << RunResult::NotEnoughMemory << noRoom.arg(3072);
    QTest::newRow("1-bit PNG, 2 GiB in 32 bits") << "png-1-bit-32767x16000-decodes-to-2-GiB.png" << RunResult::NotEnoughMemory << noRoom.arg(2063);
    QTest::newRow("run-length bitmap ending at once") << "bmp-rle8-16384x16384-ends-at-once.bmp" << RunResult::NotEnoughMemory << noRoom.arg(1280);
    // Decoded, then turned: both copies at once.
    QTest::newRow("EXIF-rotated JPEG") << "jpeg-exif-rotated-16384x16384-scan-cut.jpg" << RunResult::NotEnoughMemory << noRoom.arg(2048);
    QTest::newRow("scan cut short, then the end marker") << "jpeg-scan-cut-short-then-end-marker.jpg" << RunResult::SourceNotLoaded
                                                         << QString(PictureLoader::cutShort);
    QTest::newRow("scan running into a marker") << "jpeg-32767x32767-scan-runs-into-a-marker.jpg" << RunResult::SourceNotLoaded
                                                << QString(PictureLoader::cutShort);
    QTest::newRow("row bytes times height past 64 bits") << "bmp-row-bytes-times-height-overflow.bmp" << RunResult::SourceNotLoaded
                                                         << QString(PictureLoader::damaged);
    QTest::newRow("65494 x 58876") << "jpeg-3-scans-65494x58876-completeness-check-needs-11-GiB.jpg" << RunResult::PictureTooLarge << QString();
}

void TestRuns::fuzzedFilesRefusedAtOnce()
{
    QFETCH(QString, file);
    QFETCH(RunResult, result);
    QFETCH(QString, cause);
    RecordingObserver observer;
    const RunOutcome outcome = MakeASCIIPicture({.sourcePath = QStringLiteral(GLYPHSMITH_TEST_DATA "/bad/fuzzed/") + file,
                                                 .outputPath = path(QStringLiteral("fuzzed.txt")), .ramp = QStringLiteral(" .:#"),
                                                 .memoryBudget = qint64(512) << 20}, observer);
    QCOMPARE(outcome.result, result);
    QVERIFY2(outcome.cause.endsWith(cause), qPrintable(outcome.cause));
}

void TestRuns::everyCharacterInItsOwnCell()
{
    const CellSize cell = cellSizeFor(10);
    const QStringList art{QStringLiteral("@#W"), QStringLiteral("M%&")};
    const QImage whole = ArtRenderer::render(art, 10);
    QCOMPARE(whole.size(), QSize(24, 26));
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            // Alone in the grid, a character inks its own cell and nothing else.
            QStringList rows{QStringLiteral("   "), QStringLiteral("   ")};
            rows[r][c] = art[r][c];
            const QImage alone = ArtRenderer::render(rows, 10);
            const QRect own(c * cell.width, r * cell.height, cell.width, cell.height);
            bool inked = false;
            for (int y = 0; y < alone.height(); ++y) {
                for (int x = 0; x < alone.width(); ++x) {
                    inked = inked || qGray(alone.pixel(x, y)) < 255;
                    QCOMPARE(alone.pixel(x, y), own.contains(x, y) ? whole.pixel(x, y) : qRgb(255, 255, 255));
                }
            }
            QVERIFY(inked);
        }
    }
    QVERIFY(ArtRenderer::render({}, 10).isNull());
}

// Twice the pixels a side, the device pixel ratio saying so, as dark as at one pixel a pixel (the
// glyphs' edges fall on other pixels), and drawn at that size rather than enlarged.
void TestRuns::drawnForADenserScreen()
{
    const QStringList art{QStringLiteral("@#W:."), QStringLiteral("M%&-i")};
    const QImage once = ArtRenderer::render(art, 10);
    const QImage twice = ArtRenderer::render(art, 10, 2);
    QCOMPARE(twice.deviceIndependentSize(), QSizeF(once.size()));
    QCOMPARE(twice.size(), once.size() * 2);
    const auto mean = [](const QImage &image) { return image.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixel(0, 0); };
    QVERIFY(std::abs(qGray(mean(once)) - qGray(mean(twice))) < 8);
    QVERIFY(twice != once.scaled(once.size() * 2));
}

void TestRuns::filesReadBackAlike()
{
    const QString photo = QStringLiteral(GLYPHSMITH_TEST_DATA "/good/photo.jpg");
    // Plain text keeps only the code page unless it is UTF-8; RTF and HTML keep any character by
    // its number, a page as itself. A name may be followed by the kind or code page chosen.
    const QList<std::pair<QString, QStringList>> cases{
        {QStringLiteral("@\\}{><&:. "), {"art.txt", "art.rtf", "art.html", "page.html page"}},
        {QStringLiteral(" \u2591\u2592\u2593\u2588"), {"blocks.rtf", "blocks.htm", "blocks.txt utf-8", "ascii.html utf-8", "page.htm page"}},
    };
    for (const auto &[ramp, names] : cases) {
        QImage first;
        for (const QString &entry : names) {
            const QString name = entry.section(u' ', 0, 0);
            RunParameters parameters{photo, path(name), ramp, 1.0f, 4, true, outputKindNamed(entry.section(u' ', 1))};
            parameters.encoding = entry.endsWith(u"utf-8") ? TextEncoding::Utf8 : TextEncoding::Windows1252;
            RecordingObserver run;
            MakeASCIIPicture(parameters, run);
            const std::optional<ArtFile> art = readArtFile(path(name));
            QVERIFY2(art, qPrintable(name));
            QCOMPARE(art->rows, run.rows);
            QCOMPARE(art->detail, std::optional<quint8>(4));
            const QImage picture = ArtRenderer::render(art->rows, *art->detail);
            if (first.isNull())
                first = picture;
            QCOMPARE(picture, first);
        }
    }
    // RTF written before the paper and the line spacing were set, and before spaces were kept apart.
    QList<QByteArray> lines = contentsOf(path(QStringLiteral("art.rtf"))).split('\n');
    lines[0].replace("\\fmodern\\fprq1", "\\fswiss");
    lines[1] = "\\viewkind4\\uc1\\pard\\f0\\fs8\r";
    QVERIFY(writeFile(path(QStringLiteral("old.rtf")), lines.join('\n').replace("{}", "")));
    QCOMPARE(readArtFile(path(QStringLiteral("old.rtf")))->rows, readArtFile(path(QStringLiteral("art.rtf")))->rows);
    // Without its reminder a text file does not say its detail; without its trailer it is not art.
    RecordingObserver run;
    MakeASCIIPicture({photo, path(QStringLiteral("plain.txt")), QStringLiteral(" .:#"), 1.0f, 4, false}, run);
    QCOMPARE(readArtFile(path(QStringLiteral("plain.txt")))->detail, std::nullopt);
    QFile cut(path(QStringLiteral("plain.txt")));
    QVERIFY(cut.resize(cut.size() - 5));
    QVERIFY(!readArtFile(cut.fileName()));
    QVERIFY(!readArtFile(photo));
}

// A full block shows its cell's colour at the cell's centre, a space the ground, which a fill
// gives the cell's colour and its character the darker shade.
void TestRuns::colourRendered_data()
{
    QTest::addColumn<ColourLook>("look");
    QTest::addColumn<bool>("darkGround");
    QTest::addColumn<QList<uint>>("centres"); // of the block's cell and the space's
    QTest::newRow("characters on white") << ColourLook::characters << false << QList<uint>{qRgb(0, 128, 160), qRgb(255, 255, 255)};
    QTest::newRow("characters on black") << ColourLook::characters << true << QList<uint>{qRgb(0, 128, 160), qRgb(0, 0, 0)};
    QTest::newRow("filled cells") << ColourLook::fills << false << QList<uint>{qRgb(0, 80, 100), qRgb(200, 40, 0)};
    QCOMPARE(characterColourOf(modColour::RGB(0, 128, 160), ColourLook::fills, ColourDepth::truecolour), modColour::RGB(0, 80, 100));
}

void TestRuns::colourRendered()
{
    QFETCH(ColourLook, look);
    QFETCH(bool, darkGround);
    QFETCH(QList<uint>, centres);
    ArtColours colours{CellGrid<modColour::Colour>(2, 1), ColourDepth::truecolour, look, nullptr};
    colours.cells.cells = {modColour::RGB(0, 128, 160), modColour::RGB(200, 40, 0)};
    const QImage art = ArtRenderer::render({QStringLiteral("\u2588 ")}, 10, colours, darkGround);
    const CellSize cell = cellSizeFor(10);
    QCOMPARE(art.size(), QSize(2 * cell.width, cell.height));
    QCOMPARE(QList<uint>({art.pixel(cell.width / 2, cell.height / 2), art.pixel(cell.width * 3 / 2, cell.height / 2)}), centres);
    // Without colours, the black art as ever.
    QCOMPARE(ArtRenderer::render({QStringLiteral("\u2588 ")}, 10, ArtColours{}, darkGround), ArtRenderer::render({QStringLiteral("\u2588 ")}, 10));
}

// Each kind in colour reads back its rows and each cell's mean colour at the depth asked for, the
// means taken here straight from the pixels, halves to even.
void TestRuns::coloursReadBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<ColourDepth>("depth");
    QTest::addColumn<ColourLook>("look");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("tableOf256"); // the colours reduced to xterm's cube and greys for RTF's table
    QTest::addColumn<bool>("lightOnDark");
    const QSize few(61, 41), many(181, 161); // 160 cells, and more than 1000 of as many colours
    QTest::newRow("page, truecolour") << "art.html" << "page" << ColourDepth::truecolour << ColourLook::characters << few << false << false;
    QTest::newRow("page, 256, filled") << "art.html" << "page" << ColourDepth::palette256 << ColourLook::fills << few << false << false;
    QTest::newRow("fragment, 16") << "art.htm" << "html" << ColourDepth::palette16 << ColourLook::characters << few << false << false;
    QTest::newRow("RTF, few colours kept") << "art.rtf" << "rtf" << ColourDepth::truecolour << ColourLook::characters << few << false << false;
    QTest::newRow("RTF, filled, 16") << "art.rtf" << "rtf" << ColourDepth::palette16 << ColourLook::fills << few << false << false;
    QTest::newRow("terminal text, 256") << "art.txt" << "txt" << ColourDepth::palette256 << ColourLook::characters << few << false << false;
    QTest::newRow("terminal text, truecolour, filled") << "art.txt" << "txt" << ColourDepth::truecolour << ColourLook::fills << few << false << false;
    QTest::newRow("RTF, more than 255 colours") << "art.rtf" << "rtf" << ColourDepth::truecolour << ColourLook::characters << many << true << false;
    QTest::newRow("page, light on dark") << "art.html" << "page" << ColourDepth::truecolour << ColourLook::characters << few << false << true;
}

void TestRuns::coloursReadBack()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(ColourDepth, depth);
    QFETCH(ColourLook, look);
    QFETCH(QSize, size);
    QFETCH(bool, tableOf256);
    QFETCH(bool, lightOnDark);
    // Channels that change within cells, so that means fall on halves.
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb((x * 9) % 256, (y * 7 + x) % 256, (x * y) % 256));
    QVERIFY(picture.save(path(QStringLiteral("colours.png"))));
    RunParameters parameters{path(QStringLiteral("colours.png")), path(name), QStringLiteral(" .:<&#"), 1.0f, 4, false, outputKindNamed(kind)};
    parameters.colour = depth;
    parameters.colourLook = look;
    parameters.invert = lightOnDark;
    RecordingObserver run;
    QVERIFY(MakeASCIIPicture(parameters, run).succeeded());
    const std::optional<ArtFile> art = readArtFile(path(name));
    QVERIFY(art);
    QCOMPARE(art->rows, run.rows);
    QCOMPARE(art->colours.look, look);
    const CellSize cell = cellSizeFor(4);
    QCOMPARE(art->colours.cells.columns, picture.width() / cell.width);
    QCOMPARE(art->colours.cells.rows, picture.height() / cell.height);
    const auto even = [&](int sum) { return modColour::RoundingDivisor(cell.width * cell.height)(sum); };
    std::set<modColour::Colour> means;
    for (int r = 0; r < art->colours.cells.rows; ++r) {
        for (int c = 0; c < art->colours.cells.columns; ++c) {
            int red = 0, green = 0, blue = 0;
            for (int y = r * cell.height; y < (r + 1) * cell.height; ++y) {
                for (int x = c * cell.width; x < (c + 1) * cell.width; ++x) {
                    red += qRed(picture.pixel(x, y));
                    green += qGreen(picture.pixel(x, y));
                    blue += qBlue(picture.pixel(x, y));
                }
            }
            means.insert(modColour::RGB(even(red), even(green), even(blue)));
            modColour::Colour mean = modColour::RGB(even(red), even(green), even(blue));
            mean = ColourPalettes::reduced(lightOnDark ? colourOnDark(mean) : mean, tableOf256 ? ColourDepth::palette256 : depth);
            QVERIFY2(art->colours.cells.at(c, r) == mean, qPrintable(QStringLiteral("row %1, column %2").arg(r).arg(c)));
        }
    }
    if (kind == u"rtf") {
        const QByteArray header = contentsOf(path(name)).split('\n').first();
        const qsizetype entries = header.count("\\red");
        QCOMPARE(means.size() > 255, tableOf256);
        if (look == ColourLook::characters)
            QVERIFY2(tableOf256 ? entries <= 240 : entries == qsizetype(means.size()), qPrintable(QString::number(entries)));
    }
}

void TestRuns::inkOfDrawnCharacters()
{
    const std::vector<CharacterInk> ink = inkCoverageOf({QStringLiteral(" "), QStringLiteral("."), QStringLiteral("@"), QStringLiteral("\u2588")},
                                                        cellSizeFor(10));
    QCOMPARE(ink[0].whole, 0.0);
    QVERIFY2(ink[1].whole > 0 && ink[1].whole < ink[2].whole, qPrintable(QStringLiteral("'.' %1, '@' %2").arg(ink[1].whole).arg(ink[2].whole)));
    QVERIFY2(ink[3].whole > 0.95, qPrintable(QString::number(ink[3].whole)));
    // A full stop inks the bottom of its cell, not the top; its quarters make up its whole.
    const Quarters<double> dot = ink[1].quarters;
    QVERIFY(dot[0] == 0 && dot[1] == 0 && dot[2] > 0 && dot[3] > 0);
    const CellSize cell = cellSizeFor(10);
    const double top = double(cell.height / 2) / cell.height;
    QVERIFY(qAbs(top * (dot[0] + dot[1]) / 2 + (1 - top) * (dot[2] + dot[3]) / 2 - ink[1].whole) < 1e-12);
    // The ink is the light the art preview's drawing of the cell keeps from the eye, not its grey levels.
    const QImage drawn = ArtRenderer::render({QStringLiteral("@")}, 10);
    double light = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            light += Lightness::linearOfLevel()[qGray(drawn.pixel(x, y))];
    QVERIFY2(qAbs(1 - light / (cell.width * cell.height) - ink[2].whole) < 1e-9, qPrintable(QString::number(ink[2].whole)));
}

// A photo of a grey ramp drawn with too few grey bands shows steps and flat runs; the ink shows
// its shades rising from cell to cell, seen a few cells at a time.
void TestRuns::inkGradientRisesAcross()
{
    const CellSize cell = cellSizeFor(10);
    QImage ramp(cell.width * 120, cell.height * 24, QImage::Format_RGB32);
    for (int x = 0; x < ramp.width(); ++x)
        for (int y = 0; y < ramp.height(); ++y)
            ramp.setPixel(x, y, qRgb(0, 0, 0) + 0x010101u * uint(x * 255 / (ramp.width() - 1)));
    QVERIFY(ramp.save(path(QStringLiteral("ramp.png"))));
    RunParameters p{path(QStringLiteral("ramp.png")), path(QStringLiteral("ramp.txt")), QStringLiteral(" .:;+=xX#@")};
    p.tone = ToneMapping::ink;
    RecordingObserver kept;
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

QTEST_MAIN(TestRuns)
#include "tst_runs.moc"
