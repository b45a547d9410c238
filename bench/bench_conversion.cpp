#include "engine/modASCII.h"
#include "engine/RunObserver.h"
#include "engine/RunOutcome.h"
#include "engine/RunParameters.h"

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

class SilentObserver : public RunObserver
{
public:
    void progress(const ProgressUpdate &) override {}
    void runEnded(const RunOutcome &) override {}
};

// A photo-like picture: smooth shading with fine noise, so a JPEG of it decodes at a photo's pace.
QImage syntheticPhoto(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    quint32 noise = 12345;
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = int(noise >> 28) - 8;
            const int shade = (x * 160 / width + y * 80 / height) + grain;
            line[x] = qRgb(qBound(0, shade + 10, 255), qBound(0, shade, 255), qBound(0, shade - 10, 255));
        }
    }
    return picture;
}

// The formats measured, in the order of the benchmarks' first argument.
enum Format { ProgressiveJpeg, Png, Bmp, FormatCount };

// One file per format for the whole program: writing the picture is not what is measured. The
// photo named by GLYPHSMITH_BENCH_PHOTO (a JPEG, taken as it is) when set, else a synthetic one.
class Pictures
{
public:
    static const Pictures &instance()
    {
        static const Pictures pictures;
        return pictures;
    }
    QString path(int format) const { return m_paths[format]; }
    QString output() const { return m_folder.filePath("art.txt"); }

private:
    Pictures()
    {
        const QString given = qEnvironmentVariable("GLYPHSMITH_BENCH_PHOTO");
        QImage photo;
        if (given.isEmpty()) {
            // A quarter of the area of a 20-megapixel photo keeps a run of the benchmark short.
            photo = syntheticPhoto(2820, 1586);
            m_paths[ProgressiveJpeg] = m_folder.filePath("photo.jpg");
            QImageWriter jpeg(m_paths[ProgressiveJpeg]);
            jpeg.setProgressiveScanWrite(true);
            jpeg.setQuality(90);
            jpeg.write(photo);
        } else {
            QImageReader reader(given);
            QImageReader::setAllocationLimit(1024);
            photo = reader.read().convertToFormat(QImage::Format_RGB32);
            m_paths[ProgressiveJpeg] = given;
        }
        m_paths[Png] = m_folder.filePath("photo.png");
        m_paths[Bmp] = m_folder.filePath("photo.bmp");
        photo.save(m_paths[Png]);
        photo.save(m_paths[Bmp]);
    }

    QTemporaryDir m_folder;
    QString m_paths[FormatCount];
};

// Arguments: the format (0 the JPEG, decoded row by row; 1 PNG, 2 BMP, decoded whole) and the
// size factor in tenths. Wall time, since the decoding runs on a second thread.
void conversion(benchmark::State &state)
{
    const Pictures &pictures = Pictures::instance();
    RunParameters parameters;
    parameters.sourcePath = pictures.path(int(state.range(0)));
    parameters.outputPath = pictures.output();
    parameters.ramp = QStringLiteral(" .:-=+*#%@");
    parameters.sizeFactor = float(state.range(1)) / 10.0f;
    SilentObserver observer;
    for (auto _ : state) {
        const RunOutcome outcome = MakeASCIIPicture(parameters, observer);
        if (!outcome.succeeded()) {
            state.SkipWithError(qPrintable(outcome.message()));
            break;
        }
    }
}
BENCHMARK(conversion)->ArgNames({"format", "size_x10"})->ArgsProduct({{ProgressiveJpeg, Png, Bmp}, {10, 30}})->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor for each format: the file decoded by QImageReader alone, nothing converted.
void plainDecode(benchmark::State &state)
{
    const QString path = Pictures::instance().path(int(state.range(0)));
    QImageReader::setAllocationLimit(1024);
    for (auto _ : state) {
        QImageReader reader(path);
        const QImage picture = reader.read();
        if (picture.isNull()) {
            state.SkipWithError(qPrintable(reader.errorString()));
            break;
        }
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(plainDecode)->ArgNames({"format"})->DenseRange(ProgressiveJpeg, Bmp)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
