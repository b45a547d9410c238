#include "PictureFile.h"

#include "FileEnd.h"
#include "ModelColour.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QString>

namespace {

// Photographs of several thousand pixels a side need more than the reader's default allowance.
constexpr int allocationLimitMegabytes = 4200;

bool isIconFormat(const QByteArray &format)
{
    return format == "ico" || format == "cur";
}

// Every image of an icon or cursor file, keeping the one of largest area; the first wins a tie.
// Null when any of them cannot be read.
QImage largestIconImage(const QString &path)
{
    QImage largest;
    const int count = QImageReader(path).imageCount();
    for (int index = 0; index < count; ++index) {
        QImageReader reader(path);
        if (!reader.jumpToImage(index))
            return QImage();
        const QImage image = reader.read();
        if (image.isNull())
            return QImage();
        const qint64 area = qint64(image.width()) * image.height();
        if (largest.isNull() || area > qint64(largest.width()) * largest.height())
            largest = image;
    }
    return largest;
}

// One channel of a straight-alpha pixel laid over white, rounded to nearest.
int overWhite(int channel, int alpha)
{
    return (channel * alpha + 255 * (255 - alpha) + 127) / 255;
}

PixelArray toPixelArray(const QImage &decoded)
{
    const QImage straight = decoded.convertToFormat(QImage::Format_ARGB32);
    PixelArray pixels(straight.width(), straight.height());
    for (int y = 0; y < straight.height(); ++y) {
        for (int x = 0; x < straight.width(); ++x) {
            const QRgb argb = straight.pixel(x, y);
            const int alpha = qAlpha(argb);
            pixels.set(x, y, ModelColour::rgb(overWhite(qRed(argb), alpha), overWhite(qGreen(argb), alpha),
                                              overWhite(qBlue(argb), alpha)));
        }
    }
    return pixels;
}

} // namespace

std::optional<PixelArray> readPictureFile(const QString &path)
{
    QImageReader::setAllocationLimit(allocationLimitMegabytes);
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QByteArray format = reader.format().toLower();

    QImage decoded = isIconFormat(format) ? largestIconImage(path) : reader.read();
    if (decoded.isNull())
        return std::nullopt;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !fileReachesEnd(file.readAll(), format))
        return std::nullopt;
    return toPixelArray(decoded);
}
