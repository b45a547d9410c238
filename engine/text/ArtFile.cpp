#include "engine/text/ArtFile.h"

#include "engine/text/OutputKind.h"
#include "engine/text/OutputKinds.h"

#include <QFile>

namespace {

// Art files are small; anything larger is not one of ours.
constexpr qint64 largestArtFile = 256 * 1024 * 1024;

} // namespace

std::optional<ArtFile> readArtFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > largestArtFile)
        return std::nullopt;
    const OutputKind &kind = outputKindOf(path);
    const LineFormat format = kind.lineFormat();
    QStringList lines = format.decode(file.readAll()).split(QString::fromLatin1(format.lineEnd));
    const QStringList trailer = kind.trailer();
    // Every line ends in a line end, so the split leaves an empty piece after the last one.
    if (lines.size() < trailer.size() + 1 || !lines.last().isEmpty())
        return std::nullopt;
    lines.removeLast();
    if (lines.mid(lines.size() - trailer.size()) != trailer)
        return std::nullopt;
    lines.resize(lines.size() - trailer.size());
    std::optional<ArtFile> art = kind.read(lines);
    if (!art || art->rows.isEmpty())
        return std::nullopt;
    return art;
}

std::optional<quint8> recordedDetail(int points)
{
    return points >= 1 && points <= 255 ? std::optional(quint8(points)) : std::nullopt;
}
