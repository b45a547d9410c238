#include "tests/fuzz/FuzzSupport.h"

#include "engine/decode/internal/JpegDecoder.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtEndian>

namespace Fuzz {

void startQt(const char *program)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt takes the arguments it knows out of its own copy; libFuzzer keeps its own. Never
    // destroyed: libFuzzer ends the process from inside a run.
    static int argc = 1;
    static char *argv[] = {const_cast<char *>(program), nullptr};
    [[maybe_unused]] static const auto *application = new QGuiApplication(argc, argv);
}

QString scratchPath(const QString &name)
{
    static const QTemporaryDir folder;
    return folder.filePath(name);
}

QString scratchFile(const QString &name, QByteArrayView bytes)
{
    const QString path = scratchPath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes.data(), bytes.size()) != bytes.size())
        qFatal("cannot write the scratch file %s", qPrintable(path));
    return path;
}

quint32 takeOptions(QByteArrayView &data)
{
    if (data.size() < 4 || data[0] < 1 || data[0] > 31)
        return quint32(qHashBits(data.data(), size_t(data.size()), 0));
    const auto options = qFromLittleEndian<quint32>(data.data());
    data = data.sliced(4);
    return options;
}

bool isLargeJpeg(QByteArrayView data)
{
    try {
        const std::unique_ptr<JpegDecoder> decoder = JpegDecoder::open(data, {}, MemoryBudget(qint64(64) << 20));
        return decoder && qint64(decoder->size().width()) * decoder->size().height() > (qint64(1) << 24);
    } catch (const std::bad_alloc &) {
        return false;
    }
}

} // namespace Fuzz
