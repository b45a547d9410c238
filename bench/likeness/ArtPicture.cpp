#include "bench/likeness/ArtPicture.h"

#include "bench/likeness/LinearLight.h"
#include "engine/render/ArtRenderer.h"

#include <QFile>
#include <QImage>
#include <algorithm>

namespace {

std::optional<ArtFile> readPlainText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    ArtFile art;
    art.rows = QString::fromUtf8(file.readAll()).split(u'\n');
    if (art.rows.last().isEmpty())
        art.rows.removeLast();
    for (QString &row : art.rows) {
        if (row.endsWith(u'\r'))
            row.chop(1);
    }
    if (art.rows.isEmpty())
        return std::nullopt;
    return art;
}

} // namespace

std::optional<ArtFile> readArt(const QString &path, bool plainText)
{
    return plainText ? readPlainText(path) : readArtFile(path);
}

int columnsOf(const QStringList &rows)
{
    qsizetype columns = 0;
    for (const QString &row : rows)
        columns = std::max(columns, row.toUcs4().size());
    return int(columns);
}

Plane drawnLuminance(const QStringList &rows, quint8 detail)
{
    const QImage art = ArtRenderer::render(rows, detail);
    if (art.isNull())
        return {};
    const std::array<float, 256> &linear = LinearLight::fromSrgb();
    Plane plane(art.width(), art.height());
    for (int y = 0; y < plane.height; ++y) {
        const uchar *row = art.constScanLine(y);
        for (int x = 0; x < plane.width; ++x)
            plane.at(x, y) = linear[row[x]];
    }
    return plane;
}

Plane drawnChannel(const ArtFile &art, quint8 detail, int channel)
{
    const QImage picture = ArtRenderer::render(art.rows, detail, art.colours, art.darkGround);
    if (picture.isNull())
        return {};
    const std::array<float, 256> &linear = LinearLight::fromSrgb();
    const int shift = 16 - 8 * channel; // in a QRgb red is the third byte, blue the first
    Plane plane(picture.width(), picture.height());
    for (int y = 0; y < plane.height; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < plane.width; ++x)
            plane.at(x, y) = linear[(row[x] >> shift) & 0xFF];
    }
    return plane;
}
