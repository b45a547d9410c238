// A whole run over a fuzzed picture, in every kind of output and mapping, at a small size.
#include "engine/modASCII.h"
#include "engine/text/OutputKinds.h"
#include "tests/fuzz/FuzzSupport.h"

#include <QFile>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

struct QuietObserver : RunObserver
{
    void progress(const ProgressUpdate &) override {}
    void runEnded(const RunOutcome &) override {}
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    Fuzz::startQt((*argv)[0]);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    QByteArrayView data(bytes, qsizetype(size));
    const quint32 options = Fuzz::takeOptions(data);
    if (Fuzz::isLargeJpeg(data))
        return 0;
    // A name's extension chooses Qt's reader before its content does.
    static const QStringList sourceNames{u"picture"_s, u"picture.jpg"_s, u"picture.png"_s, u"picture.bmp"_s};
    static const QStringList ramps{u" .:-=+*#%@"_s, u"#"_s, u"\u00b7\u2591\u2592\u2593\u2588"_s};
    static const QStringList extensions = kindExtensions();
    const QString output = Fuzz::scratchPath(u"art."_s + extensions[qsizetype(options % quint32(extensions.size()))]);
    QFile::remove(output);
    const RunParameters parameters{
        .sourcePath = Fuzz::scratchFile(sourceNames[(options >> 4) % 4], data), .outputPath = output,
        .ramp = ramps[(options >> 6) % 3], .sizeFactor = 0.1f * float(1 + (options >> 8) % 10),
        .detail = quint8(4 + (options >> 12) % 28), .splitRows = bool(options & 1u << 17), .memoryBudget = qint64(64) << 20,
        .encoding = bool(options & 1u << 18) ? TextEncoding::Utf8 : TextEncoding::Windows1252, .rowsOnly = bool(options & 1u << 19),
        .tone = bool(options & 1u << 20) ? ToneMapping::ink : ToneMapping::bands, .invert = bool(options & 1u << 21),
        .levels = bool(options & 1u << 22), .diffusion = bool(options & 1u << 23)};
    QuietObserver observer;
    const RunOutcome outcome = MakeASCIIPicture(parameters, observer);
    // A run leaves an output exactly when it says it wrote one.
    if (outcome.succeeded() != QFile::exists(output))
        std::abort();
    return 0;
}
