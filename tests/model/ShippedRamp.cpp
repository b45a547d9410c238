#include "ShippedRamp.h"

#include <QFile>
#include <QString>
#include <QStringDecoder>

QString firstRampIn(const QString &rampListPath)
{
    QFile file(rampListPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray line = file.readAll();
    const qsizetype lineEnd = line.indexOf('\n');
    if (lineEnd >= 0)
        line.truncate(lineEnd);
    if (line.endsWith('\r'))
        line.chop(1);
    QStringDecoder decoder("windows-1252");
    return decoder.decode(line);
}
