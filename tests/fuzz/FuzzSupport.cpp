#include "tests/fuzz/FuzzSupport.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstring>

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
    quint32 options = 0;
    if (data.size() < 4 || data[0] < 1 || data[0] > 31)
        return quint32(qHashBits(data.data(), size_t(data.size()), 0));
    std::memcpy(&options, data.data(), sizeof options);
    data = data.sliced(4);
    return options;
}

} // namespace Fuzz
