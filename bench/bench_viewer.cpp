// Times the picture viewer of the preview window on one photo, the way a user meets it: the
// preview opened with View Your Selected Picture, every picture-size step from 50 % to 600 %, and
// scrolling at each step; and reads the process's peak memory. Run it under the offscreen
// platform with a viewport of 1920 x 1080 (bench/viewer-bench.sh does both):
//   bench_viewer PHOTO [REPETITIONS]
// Exit status: 0 targets met, 1 targets missed, 2 the benchmark itself could not run.

#include "app/frmASCII.h"
#include "app/Platform.h"
#include "app/pp.h"
#include "engine/decode/PictureLoader.h"
#include "viewer/PicControl.h"
#include "viewer/PicControlTestAccess.h"
#include "viewer/PictureSurface.h"
#include "viewer/ScaledPicture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace {

// The viewport the targets are stated for, and the control around it: the viewport is the
// control less 76 pixels across (the tools panel) and 24 down (the navigation strip).
constexpr int viewportWidth = 1920;
constexpr int viewportHeight = 1080;
constexpr int controlWidth = viewportWidth + 76;
constexpr int controlHeight = viewportHeight + 24;
// The preview leaves one pixel of its own at the right and at the bottom of the control.
constexpr int screenWidth = controlWidth + 1;
constexpr int screenHeight = controlHeight + 1;

constexpr double frameBudgetMs = 50.0;
constexpr double memoryAllowanceMiB = 64.0;
constexpr int scrollPixels = 40;
constexpr int scrollsPerStep = 9;
constexpr std::array<const char *, 8> stepNames{"50 %", "75 %", "100 %", "200 %", "300 %", "400 %", "500 %", "600 %"};

// The desktop as the preview needs it: nothing stored, no boxes shown.
class BenchPlatform : public Platform
{
public:
    explicit BenchPlatform(QString folder) : m_folder(std::move(folder)) {}

    void showMessage(QWidget *, const QString &title, const QString &text) override
    {
        std::fprintf(stderr, "bench_viewer: message \"%s: %s\"\n", qPrintable(title), qPrintable(text));
    }
    std::optional<QString> openFileName(QWidget *, const FileDialogRequest &) override { return std::nullopt; }
    std::optional<QString> saveFileName(QWidget *, const FileDialogRequest &) override { return std::nullopt; }
    bool openFile(const QString &) override { return false; }
    bool openWebPage(const QString &) override { return false; }
    QString setting(const SettingKey &key, const QString &defaultValue) override
    {
        const auto found = m_store.find(pathOf(key));
        return found == m_store.end() ? defaultValue : found->second;
    }
    void saveSetting(const SettingKey &key, const QString &value) override { m_store[pathOf(key)] = value; }
    qint64 clockMs() override { return m_clock.elapsed(); }
    RampFile::Folders rampFolders() override { return {m_folder, {}, {}}; }

private:
    static QString pathOf(const SettingKey &key) { return key.application + u'/' + key.section + u'/' + key.key; }

    QString m_folder;
    std::map<QString, QString> m_store;
    QElapsedTimer m_clock{[] {
        QElapsedTimer t;
        t.start();
        return t;
    }()};
};

// A field of /proc/self/status in KiB: VmHWM is the peak resident size, VmRSS the present one.
qint64 statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Counts the paints of the picture surface and the pixels they expose: where a step's time goes
// is mostly in drawing the picture, so a step that paints the viewport more than once shows here.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *surface) { surface->installEventFilter(this); }
    void reset()
    {
        paints = 0;
        pixels = 0;
    }
    int paints = 0;
    qint64 pixels = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            for (const QRect &r : static_cast<QPaintEvent *>(event)->region())
                pixels += qint64(r.width()) * r.height();
        }
        return false;
    }
};

double mib(double bytes) { return bytes / (1024.0 * 1024.0); }

double msSince(const QElapsedTimer &timer) { return double(timer.nsecsElapsed()) / 1e6; }

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double maximum(const std::vector<double> &v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }

// The offscreen platform's one screen is 800 x 600 unless a configuration file says otherwise;
// the preview covers the screen, so the screen is made just large enough for the viewport wanted.
// Any other platform is left as it is: the sizes are checked after the preview opens.
void sizeOffscreenScreen(const QTemporaryDir &dir)
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && platform != "offscreen")
        return;
    const QString path = dir.filePath(QStringLiteral("offscreen.json"));
    QFile config(path);
    if (!config.open(QIODevice::WriteOnly))
        return;
    config.write(QStringLiteral(R"({"windowFrameMargins": false, "screens": [{"name": "bench", "x": 0, "y": 0, )"
                                R"("width": %1, "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                     .arg(screenWidth)
                     .arg(screenHeight)
                     .toUtf8());
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(path));
}

// Paints the viewport now, through the window's backing store as an ordinary paint would, and
// flushes it to the platform. repaint() rather than grab(): grab() would draw the same widgets
// into a pixmap of its own, which the user never sees, and skip the flush.
void paintViewport(PicControl &control) { PicControlTestAccess(control).elements().picFrame->repaint(); }

void drain() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_viewer PHOTO [REPETITIONS]\n");
        return 2;
    }
    const QTemporaryDir scratch;
    if (!scratch.isValid()) {
        std::fprintf(stderr, "bench_viewer: no temporary folder\n");
        return 2;
    }
    sizeOffscreenScreen(scratch);
    QApplication app(argc, argv);
    const QString photo = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const std::optional<QSize> size = PictureLoader::peekSize(photo);
    if (!size) {
        std::fprintf(stderr, "bench_viewer: %s is not a picture\n", qPrintable(photo));
        return 2;
    }
    const double decodedBytes = double(size->width()) * size->height() * 4;

    BenchPlatform platform(scratch.path());
    frmASCII window(platform);
    window.choosePicture(photo);
    drain();

    // Opening the preview: from the click to the first frame of the picture in the viewport.
    // The picture is decoded on a worker thread, so the event loop runs until the preview says it
    // has the picture; the viewport is then painted at once, and the events the opening queued
    // for the rest of the window (its tools panel, overview and navigation strip) are let run.
    const qint64 hwmBeforeKiB = statusKiB("VmHWM");
    QElapsedTimer clock;
    clock.start();
    window.Command2_Click();
    pp *preview = window.preview();
    if (!preview) {
        std::fprintf(stderr, "bench_viewer: the preview did not open\n");
        return 2;
    }
    bool shown = false;
    {
        QEventLoop loop;
        QObject::connect(preview, &pp::pictureDone, &loop, [&](bool ok) {
            shown = ok;
            loop.quit();
        });
        loop.exec();
    }
    const double pictureDoneMs = msSince(clock);
    PicControl &control = *preview->PC1();
    paintViewport(control);
    drain();
    const double firstFrameMs = msSince(clock);
    if (!shown) {
        std::fprintf(stderr, "bench_viewer: the preview could not load %s\n", qPrintable(photo));
        return 2;
    }
    const qint64 hwmFirstFrameKiB = statusKiB("VmHWM");

    const PicControlTestAccess access(control);
    const PicControlElements &e = access.elements();
    const QSize viewport = e.picFrame->size();
    if (viewport != QSize(viewportWidth, viewportHeight))
        std::fprintf(stderr, "bench_viewer: warning: the viewport is %d x %d, not %d x %d\n", viewport.width(),
                     viewport.height(), viewportWidth, viewportHeight);

    // Every step in turn, 50 % to 600 %, as many times over as asked. A step is timed from setting
    // the scroll bar (which lays the picture out at its new size) through one repaint of the
    // viewport; the events left queued afterwards are let run untimed. At each step the picture
    // is then scrolled by moving the surface within its range and repainting the viewport.
    std::array<std::vector<double>, 8> stepMs;
    std::array<std::vector<double>, 8> scrollMs;
    std::array<QSize, 8> surfaceSize;
    std::array<std::vector<double>, 8> stepPaints;
    std::array<std::vector<double>, 8> stepMpx;
    std::array<std::vector<double>, 8> scrollMpx;
    std::array<std::vector<double>, 8> renderMs;
    PaintCounter counter(e.picMain);
    qint64 hwmAt600KiB = 0;
    for (int r = 0; r < repetitions; ++r) {
        for (int step = 0; step < 8; ++step) {
            drain();
            counter.reset();
            QElapsedTimer t;
            t.start();
            e.HScroll1->setValue(step);
            paintViewport(control);
            stepMs[std::size_t(step)].push_back(msSince(t));
            stepPaints[std::size_t(step)].push_back(counter.paints);
            stepMpx[std::size_t(step)].push_back(double(counter.pixels) / 1e6);
            drain();
            surfaceSize[std::size_t(step)] = e.picMain->size();
            if (step == 7 && r == 0)
                hwmAt600KiB = statusKiB("VmHWM");

            PictureSurface &main = *e.picMain;
            const PicControlState &s = access.state();
            // The picture alone, stretched over the part in view as the surface's paint does it:
            // what a paint costs before the painter and the backing store take their share.
            {
                ScaledPicture scaled;
                scaled.set(main.picture(), main.clientSize());
                QElapsedTimer tr;
                tr.start();
                const QImage part = scaled.render(QRect(QPoint(-qRound(main.Left()), -qRound(main.Top())), viewport));
                renderMs[std::size_t(step)].push_back(msSince(tr));
            }
            int direction = -1;
            for (int k = 0; k < scrollsPerStep; ++k) {
                float left = main.Left();
                float top = main.Top();
                // Within the range: the surface's left runs from 0 to -range; turn at either end.
                if (s.mScrollRangeX > 0) {
                    if (left + float(direction * scrollPixels) < float(-s.mScrollRangeX) || left + float(direction * scrollPixels) > 0)
                        direction = -direction;
                    left += float(direction * scrollPixels);
                } else if (s.mScrollRangeY > 0) {
                    if (top + float(direction * scrollPixels) < float(-s.mScrollRangeY) || top + float(direction * scrollPixels) > 0)
                        direction = -direction;
                    top += float(direction * scrollPixels);
                } else {
                    break;
                }
                drain();
                QElapsedTimer ts;
                counter.reset();
                ts.start();
                main.Move(left, top);
                paintViewport(control);
                scrollMs[std::size_t(step)].push_back(msSince(ts));
                scrollMpx[std::size_t(step)].push_back(double(counter.pixels) / 1e6);
            }
            drain();
        }
    }
    const qint64 hwmEndKiB = statusKiB("VmHWM");
    const qint64 rssEndKiB = statusKiB("VmRSS");

    // The decoding alone, for telling the opening's own work from the decoder's. Done last, as it
    // holds a second copy of the picture.
    double decodeMs = 0;
    {
        QElapsedTimer t;
        t.start();
        const std::optional<QImage> again = PictureLoader::load(photo);
        decodeMs = msSince(t);
    }

    std::printf("Photo: %s, %d x %d\n", qPrintable(QFileInfo(photo).fileName()), size->width(), size->height());
    std::printf("Viewport: %d x %d (control %d x %d); %d repetitions; %d scrolls of %d px per step and repetition\n",
                viewport.width(), viewport.height(), control.width(), control.height(), repetitions, scrollsPerStep,
                scrollPixels);
    std::printf("\n");
    std::printf("Opening: click to first frame %.1f ms (picture handed over after %.1f ms; decoding alone %.1f ms)\n",
                firstFrameMs, pictureDoneMs, decodeMs);
    std::printf("\n");
    std::printf("%-6s %-14s %12s %12s %14s %14s %14s %16s %14s %s\n", "step", "surface", "step med ms", "step max ms",
                "scroll med ms", "scroll max ms", "surface paints", "Mpx step/scroll", "render med ms", "within 50 ms");
    bool timesMet = true;
    for (std::size_t step = 0; step < 8; ++step) {
        const double sm = median(stepMs[step]);
        const double cm = median(scrollMs[step]);
        const bool met = sm <= frameBudgetMs && cm <= frameBudgetMs;
        timesMet = timesMet && met;
        const QString surface = QStringLiteral("%1 x %2").arg(surfaceSize[step].width()).arg(surfaceSize[step].height());
        const QString painted = QStringLiteral("%1 / %2").arg(median(stepMpx[step]), 0, 'f', 1).arg(median(scrollMpx[step]), 0, 'f', 1);
        std::printf("%-6s %-14s %12.1f %12.1f %14.1f %14.1f %14.0f %16s %14.1f %s\n", stepNames[step], qPrintable(surface),
                    sm, maximum(stepMs[step]), cm, maximum(scrollMs[step]), median(stepPaints[step]), qPrintable(painted),
                    median(renderMs[step]), met ? "yes" : "NO");
    }
    std::printf("\n");
    const double grownMiB = double(hwmEndKiB - hwmBeforeKiB) / 1024.0;
    const double boundMiB = mib(decodedBytes) + memoryAllowanceMiB;
    const bool memoryMet = grownMiB <= boundMiB;
    std::printf("Decoded picture: %.1f MiB (%d x %d x 4 bytes)\n", mib(decodedBytes), size->width(), size->height());
    std::printf("VmHWM before loading: %.1f MiB; after the first frame: %.1f MiB; after the first 600 %% step: %.1f MiB; "
                "at the end: %.1f MiB (VmRSS %.1f MiB)\n",
                hwmBeforeKiB / 1024.0, hwmFirstFrameKiB / 1024.0, hwmAt600KiB / 1024.0, hwmEndKiB / 1024.0,
                rssEndKiB / 1024.0);
    std::printf("Peak - decoded picture: %.1f MiB (process baseline included)\n", hwmEndKiB / 1024.0 - mib(decodedBytes));
    std::printf("Peak - VmHWM before loading: %.1f MiB; bound decoded + %.0f MiB = %.1f MiB; over the picture: %.1f MiB\n",
                grownMiB, memoryAllowanceMiB, boundMiB, grownMiB - mib(decodedBytes));
    std::printf("\n");
    std::printf("Target, every step and scroll repaint within %.0f ms: %s\n", frameBudgetMs, timesMet ? "met" : "NOT met");
    std::printf("Target, peak growth within decoded picture + %.0f MiB: %s\n", memoryAllowanceMiB, memoryMet ? "met" : "NOT met");

    preview->close();
    drain();
    return timesMet && memoryMet ? 0 : 1;
}
