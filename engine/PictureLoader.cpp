#include "PictureLoader.h"

#include "BitmapChannels.h"
#include "FileCompleteness.h"

#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>

namespace {

// Qt refuses pictures above 128 MB by default (about 32 megapixels). The conversion takes
// pictures up to 32767 pixels a side, 4 bytes a pixel, so the limit is raised to that.
constexpr int allocationLimitMegabytes = 4200;

// An icon or cursor file holds several images; the largest one is the picture. The frames of
// an animation are not alternatives: its first frame is the picture.
void chooseLargestImage(QImageReader &reader)
{
    const int count = reader.imageCount();
    if (count < 2 || reader.supportsAnimation())
        return;
    int best = 0;
    qint64 bestArea = -1;
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i))
            continue;
        const QSize size = reader.size();
        const qint64 area = qint64(size.width()) * size.height();
        if (area > bestArea) {
            bestArea = area;
            best = i;
        }
    }
    reader.jumpToImage(best);
}

// Whether the file is a picture; if so, the reader is set to its picture.
bool prepare(QImageReader &reader)
{
    QImageReader::setAllocationLimit(std::max(QImageReader::allocationLimit(), allocationLimitMegabytes));
    reader.setAutoTransform(true);
    // Asked before choosing an image: after a jump the icon reader no longer recognises its file.
    if (!reader.canRead())
        return false;
    chooseLargestImage(reader);
    return true;
}

bool fileIsWhole(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Mapped rather than read, so checking a large picture costs no heap.
    uchar *data = file.map(0, file.size());
    if (!data)
        return pictureFileIsWhole(file.readAll());
    const bool whole = pictureFileIsWhole(QByteArrayView(data, file.size()));
    file.unmap(data);
    return whole;
}

} // namespace

namespace PictureLoader {

std::optional<QSize> peekSize(const QString &path)
{
    QImageReader reader(path);
    if (!prepare(reader))
        return std::nullopt;
    QSize size = reader.size();
    size.setHeight(std::abs(size.height())); // a bitmap stored top row first gives its height negative
    if (!size.isValid())
        return std::nullopt;
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    return size;
}

std::optional<QImage> load(const QString &path)
{
    QImageReader reader(path);
    if (!prepare(reader))
        return std::nullopt;
    if (!fileIsWhole(path))
        return std::nullopt;
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    widenBitmapChannels(image, path);
    if (image.hasAlphaChannel())
        return overWhite(image);
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage overWhite(const QImage &image)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb pixel = line[x];
            const int alpha = qAlpha(pixel);
            const auto over = [alpha](int channel) { return (channel * alpha + 255 * (255 - alpha) + 127) / 255; };
            line[x] = qRgb(over(qRed(pixel)), over(qGreen(pixel)), over(qBlue(pixel)));
        }
    }
    out.reinterpretAsFormat(QImage::Format_RGB32);
    return out;
}

} // namespace PictureLoader
