#include "Windows1252Lines.h"

#include <QByteArray>
#include <QStringEncoder>
#include <QStringList>

namespace {

// One character (one or two UTF-16 units) through the system's own converter; a fresh converter
// for each keeps one failure from colouring the next character.
QByteArray encodeCharacter(const QString &character)
{
    QStringEncoder encoder("windows-1252");
    const QByteArray bytes = encoder.encode(character);
    if (!encoder.isValid() || encoder.hasError() || bytes.size() != 1)
        return QByteArrayLiteral("?");
    return bytes;
}

QByteArray encodeLine(const QString &line)
{
    QByteArray bytes;
    for (qsizetype at = 0; at < line.size(); ++at) {
        const qsizetype units = line.at(at).isHighSurrogate() && at + 1 < line.size() && line.at(at + 1).isLowSurrogate() ? 2 : 1;
        bytes += encodeCharacter(line.mid(at, units));
        at += units - 1;
    }
    return bytes;
}

} // namespace

QByteArray windows1252Lines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += encodeLine(line) + QByteArrayLiteral("\r\n");
    return bytes;
}
