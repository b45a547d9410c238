#include "RunObserver.h"
#include "RunOutcome.h"
#include "RunParameters.h"
#include "modASCII.h"

#include <QImage>
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

// One file per format for the whole program: writing the picture is not what is measured.
class Pictures
{
public:
    static const Pictures &instance()
    {
        static const Pictures pictures;
        return pictures;
    }
    QString path(int format) const { return m_folder.filePath(format == 0 ? "photo.jpg" : "photo.png"); }
    QString output() const { return m_folder.filePath("art.txt"); }

private:
    Pictures()
    {
        // A quarter of the area of a 20-megapixel photo keeps a run of the benchmark short.
        const QImage photo = syntheticPhoto(2820, 1586);
        QImageWriter jpeg(path(0));
        jpeg.setProgressiveScanWrite(true);
        jpeg.setQuality(90);
        jpeg.write(photo);
        photo.save(path(1));
    }

    QTemporaryDir m_folder;
};

// Arguments: the format (0 progressive JPEG, 1 PNG) and the size factor in tenths. Wall time,
// since a PNG is decoded on a second thread.
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
BENCHMARK(conversion)->ArgNames({"png", "size_x10"})->ArgsProduct({{0, 1}, {10, 30}})->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
