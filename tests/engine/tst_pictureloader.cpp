#include "engine/decode/internal/BitmapChannels.h"
#include "engine/decode/internal/FileCompleteness.h"
#include "engine/decode/internal/JpegDecoder.h"
#include "engine/decode/internal/JpegRows.h"
#include "engine/decode/internal/ReadAheadRing.h"
#include "engine/decode/PictureLoader.h"
#include "engine/decode/SourceFile.h"
#include "tests/TestFiles.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QDir>
#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <stdexcept>

namespace {

QString dataFile(const QString &name) { return QStringLiteral(GLYPHSMITH_TEST_DATA "/") + name; }

QByteArray jpegOf(int width, int height, bool progressive)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(120, 60, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

} // namespace

class TestPictureLoader : public QObject
{
    Q_OBJECT

private slots:
    void transparencyOverWhite_data()
    {
        QTest::addColumn<QRgb>("pixel");
        QTest::addColumn<QRgb>("composited");
        QTest::newRow("clear is white") << qRgba(10, 20, 30, 0) << qRgb(255, 255, 255);
        QTest::newRow("opaque keeps its colour") << qRgba(10, 20, 30, 255) << qRgb(10, 20, 30);
        QTest::newRow("half black is mid grey") << qRgba(0, 0, 0, 128) << qRgb(127, 127, 127);
        QTest::newRow("mostly clear red") << qRgba(255, 0, 0, 51) << qRgb(255, 204, 204);
    }
    void transparencyOverWhite()
    {
        QFETCH(QRgb, pixel);
        QFETCH(QRgb, composited);
        QImage image(1, 1, QImage::Format_ARGB32);
        image.setPixel(0, 0, pixel);
        const uchar *pixels = image.constBits();
        const QImage out = PictureLoader::overWhite(std::move(image));
        QCOMPARE(out.constBits(), pixels); // in place: a large picture is never held twice
        QCOMPARE(out.format(), QImage::Format_RGB32);
        QCOMPARE(out.pixel(0, 0), composited);
    }

    void completeness_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("complete");
        const QByteArray baseline = jpegOf(64, 48, false);
        const QByteArray progressive = jpegOf(64, 48, true);
        QTest::newRow("baseline") << baseline << true;
        QTest::newRow("progressive, several scans") << progressive << true;
        QTest::newRow("trailing bytes after the end") << baseline + QByteArray(100, 'z') << true;
        QTest::newRow("no end marker") << baseline.chopped(2) << true;
        QTest::newRow("progressive, no end marker") << progressive.chopped(2) << true;
        QTest::newRow("cut in the scan") << baseline.left(baseline.size() * 3 / 4) << false;
        QTest::newRow("progressive cut in a scan") << progressive.left(progressive.size() / 2) << false;
        // Every scan read whole, but the last one, which refines the coefficients, missing.
        QTest::newRow("progressive cut between scans") << progressive.left(progressive.lastIndexOf("\xFF\xDA")) << false;
        QTest::newRow("only the start marker") << QByteArray("\xFF\xD8", 2) << false;
        QTest::newRow("real truncated photo") << contentsOf(dataFile(QStringLiteral("bad/truncated.jpg"))) << false;
        QTest::newRow("bitmap whose rows pass 64 bits") << contentsOf(dataFile(QStringLiteral("bad/fuzzed/bmp-row-bytes-times-height-overflow.bmp")))
                                                        << false;
    }
    void completeness()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, complete);
        QCOMPARE(pictureFileIsWhole(data), complete);
    }

    // Decoding ends at the first sign that the data has run out, whatever follows, and coefficients
    // that would not fit in the budget are refused before they are allocated.
    void jpegDecodingBounded_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("overBudget");
        QTest::newRow("three scans of 65494 x 58876") << "jpeg-3-scans-65494x58876-completeness-check-needs-11-GiB.jpg" << true;
        QTest::newRow("65281 x 65496 of filler") << "jpeg-65281x65496-completeness-check-decodes-filler.jpg" << false;
        QTest::newRow("scan cut short, then the end marker") << "jpeg-scan-cut-short-then-end-marker.jpg" << false;
    }
    void jpegDecodingBounded()
    {
        QFETCH(QString, file);
        QFETCH(bool, overBudget);
        const QByteArray data = contentsOf(dataFile(QStringLiteral("bad/fuzzed/") + file));
        const MemoryBudget budget(qint64(512) << 20);
        if (overBudget) {
            QVERIFY_THROWS_EXCEPTION(MemoryBudget::Exceeded, JpegDecoder::open(data, {}, budget));
            QVERIFY_THROWS_EXCEPTION(MemoryBudget::Exceeded, PictureLoader::load(SourceFile(dataFile(QStringLiteral("bad/fuzzed/") + file)), nullptr, budget));
            return;
        }
        const std::unique_ptr<JpegDecoder> decoder = JpegDecoder::open(data, {}, budget);
        QVERIFY(decoder && !decoder->finish() && decoder->damaged());
        QVERIFY(decoder->rowsRead() < decoder->size().height());
    }

    // A second decoder gives the lower rows of a one-scan JPEG exactly as one decoder alone does, from
    // the file the first one opened: never from one put in its place since.
    void lowerRowsReadByASecondDecoder()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("photo.jpg"));
        QVERIFY(QFile::copy(dataFile(QStringLiteral("good/photo.jpg")), path));
        const SourceFile first(path), second(path);
        const auto whole = JpegRows::open(first, MemoryBudget::standard()), upper = JpegRows::open(second, MemoryBudget::standard());
        QVERIFY(writeFile(dir.filePath(QStringLiteral("new.jpg")), jpegOf(150, 98, false)));
        QVERIFY(QFile::remove(path) && QFile::rename(dir.filePath(QStringLiteral("new.jpg")), path));
        const std::unique_ptr<PictureRows> lower = upper ? upper->rowsFrom(37) : nullptr;
        QVERIFY(whole && lower);
        const int width = whole->size().width();
        for (int y = 0; y < whole->size().height(); ++y) {
            const QRgb *expected = whole->nextRow();
            const QRgb *row = y < 37 ? upper->nextRow() : lower->nextRow();
            QVERIFY(expected && row && std::equal(row, row + width, expected));
        }
        QVERIFY(lower->finish());
        const SourceFile progressive(dataFile(QStringLiteral("good/photo-progressive.jpg")));
        const auto several = JpegRows::open(progressive, MemoryBudget::standard());
        QVERIFY(several && !several->rowsFrom(37));
    }

    // Valid forms of a picture load exactly as their plain twin, widened channels never widened twice.
    void loadsLikeItsTwin_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("twin");
        QTest::newRow("8-bit top-down") << "grey-8bit-top-down.bmp" << "grey-8bit.bmp";
        QTest::newRow("24-bit top-down") << "photo-top-down.bmp" << "photo.bmp";
        QTest::newRow("run-length rows, no end-of-bitmap") << "grey-8bit-run-length.bmp" << "grey-8bit.bmp";
        QTest::newRow("16-bit 5-5-5") << "cells-555.bmp" << "cells-555-as-24bit.bmp";
        QTest::newRow("16-bit 5-6-5 bit fields") << "cells-565.bmp" << "cells-565-as-24bit.bmp";
        QTest::newRow("JPEG without its end marker") << "photo-no-end-marker.jpg" << "photo.jpg";
        QTest::newRow("GIF without its trailer") << "photo-no-trailer.gif" << "photo.gif";
    }
    void loadsLikeItsTwin()
    {
        QFETCH(QString, file);
        QFETCH(QString, twin);
        const QString path = dataFile(QStringLiteral("good/") + file);
        QImage picture = PictureLoader::load(path).value_or(QImage());
        QCOMPARE(picture, PictureLoader::load(dataFile(QStringLiteral("good/") + twin)).value_or(QImage(1, 1, QImage::Format_RGB32)));
        QCOMPARE(PictureLoader::peekSize(path), picture.size());
        const QImage once = picture;
        widenBitmapChannels(picture, contentsOf(path));
        QCOMPARE(picture, once);
    }

    // Every real file is whole, and stops being whole when cut anywhere in its picture data, even by
    // its last byte. A JPEG ends in its end marker and a GIF in its trailer, which may be missing.
    void cutShortFilesAreRefused_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString &file : QDir(dataFile(QStringLiteral("good"))).entryList(QDir::Files))
            QTest::newRow(qPrintable(file)) << file;
    }
    void cutShortFilesAreRefused()
    {
        QFETCH(QString, file);
        const QByteArray whole = contentsOf(dataFile(QStringLiteral("good/") + file));
        QVERIFY(pictureFileIsWhole(whole));
        QTemporaryDir dir;
        const qsizetype marker = file.endsWith(u".jpg") || file.endsWith(u".gif") ? 2 : 0;
        for (const qsizetype length : {whole.size() - 1 - marker, whole.size() * 2 / 3, whole.size() / 3}) {
            const QByteArray cut = whole.left(length);
            QVERIFY2(!pictureFileIsWhole(cut), qPrintable(QString::number(length)));
            const QString path = dir.filePath(QString::number(length) + u'-' + file);
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write(cut) == cut.size());
            out.close();
            QVERIFY(!PictureLoader::load(path));
        }
    }

    // The ring hands out the producer's rows in order, each intact while the reader holds it, up to
    // where the producer ends, fails or throws; finishing lets the producer run to its end unread.
    void readAheadRing_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("failAt"); // the producer fails making this row; -1 never
        QTest::addColumn<bool>("throws"); // fails by throwing rather than by false
        QTest::addColumn<int>("finishAfter"); // rows read before finish(); -1 reads to the end
        QTest::newRow("fewer rows than a batch") << 5 << -1 << false << -1;
        QTest::newRow("many times round the ring") << 100 << -1 << false << -1;
        QTest::newRow("fails inside a batch") << 100 << 37 << false << -1;
        QTest::newRow("fails at a batch's end") << 100 << 40 << false << -1;
        QTest::newRow("throws") << 100 << 37 << true << -1;
        QTest::newRow("finished without reading") << 100 << -1 << false << 0;
        QTest::newRow("finished half read") << 100 << -1 << false << 50;
        QTest::newRow("throws while finishing") << 100 << 70 << true << 10;
    }
    void readAheadRing()
    {
        QFETCH(int, rows);
        QFETCH(int, failAt);
        QFETCH(bool, throws);
        QFETCH(int, finishAfter);
        constexpr int width = 5;
        std::atomic_int made = 0;
        ReadAheadRing ring(width, [&](QRgb *row) {
            const int index = made++;
            if (index == failAt && throws)
                throw std::runtime_error("no room");
            std::fill_n(row, width, QRgb(index));
            return index != failAt && index < rows;
        }, StopSource().get_token());
        const int delivered = failAt < 0 ? rows : failAt;
        for (int y = 0; y < (finishAfter < 0 ? delivered : finishAfter); ++y) {
            const QRgb *row = ring.next();
            QThread::usleep(100); // time for a producer that overwrites a held row to do so
            QVERIFY(row && std::all_of(row, row + width, [y](QRgb pixel) { return pixel == QRgb(y); }));
        }
        if (throws)
            QVERIFY_THROWS_EXCEPTION(std::runtime_error, finishAfter < 0 ? void(ring.next()) : ring.finish());
        else if (finishAfter < 0)
            QVERIFY(!ring.next());
        else
            ring.finish();
        QCOMPARE(made.load(), delivered + 1);
    }

    // A reader waiting for a row that does not come is let go by a stop from another thread.
    void readAheadRingStopped()
    {
        StopSource stop;
        std::atomic_bool released = false; // only then does the producer end
        ReadAheadRing ring(1, [&](QRgb *) {
            while (!released)
                QThread::msleep(1);
            return false;
        }, stop.get_token());
        QSemaphore returned;
        std::thread stopper([&] {
            QThread::msleep(50);
            stop.request_stop();
            // A reader the stop did not reach is let go after a while, and fails.
            if (!returned.tryAcquire(1, 5000))
                released = true;
        });
        QVERIFY(!ring.next());
        const bool letGo = released;
        returned.release();
        released = true;
        stopper.join();
        QVERIFY(!letGo);
    }

    void largePicturesLoad()
    {
        // Above Qt's default 128 MB allocation limit.
        QImage image(6000, 6000, QImage::Format_Grayscale8);
        image.fill(200);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("large.bmp"));
        QVERIFY(image.save(path));
        const std::optional<QImage> picture = PictureLoader::load(path);
        QVERIFY(picture);
        QCOMPARE(picture->size(), QSize(6000, 6000));
    }
};

QTEST_GUILESS_MAIN(TestPictureLoader)
#include "tst_pictureloader.moc"
