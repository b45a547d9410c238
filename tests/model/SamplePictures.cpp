#include "SamplePictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>

namespace {

QString save(const QImage &image, const QString &folder, const QString &name)
{
    const QString path = QDir(folder).filePath(name);
    return image.save(path) ? path : QString();
}

// Row 0 walks the greys 0..255, so one-pixel cells meet every band limit of every ramp.
QImage everyGrey()
{
    QImage image(256, 2, QImage::Format_RGB32);
    for (int x = 0; x < 256; ++x) {
        image.setPixel(x, 0, qRgb(x, x, x));
        image.setPixel(x, 1, qRgb(x, 255 - x, x / 2));
    }
    return image;
}

// Odd sides make halves in the scaled sizes; random colours make cell means that end in one half.
QImage oddNoise()
{
    QRandomGenerator random(20240601);
    QImage image(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(random.bounded(256), random.bounded(256), random.bounded(256)));
    return image;
}

QImage gradedAlpha()
{
    QImage image(50, 17, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgba((x * 37) % 256, (y * 53) % 256, (x * y) % 256, (x * 9 + y * 15) % 256));
    return image;
}

QImage threeByOne()
{
    QImage image(3, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    image.setPixel(1, 0, qRgb(128, 64, 32));
    image.setPixel(2, 0, qRgb(255, 255, 255));
    return image;
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void appendLittleEndian16(QByteArray &bytes, quint16 value)
{
    bytes.append(char(value & 0xFF)).append(char(value >> 8));
}

void appendLittleEndian32(QByteArray &bytes, quint32 value)
{
    appendLittleEndian16(bytes, quint16(value & 0xFFFF));
    appendLittleEndian16(bytes, quint16(value >> 16));
}

// An icon file whose images are stored as PNG: a 6-byte header, a 16-byte entry per image, then the images.
QByteArray iconFile(const QList<QImage> &images)
{
    QByteArray file;
    appendLittleEndian16(file, 0);
    appendLittleEndian16(file, 1);
    appendLittleEndian16(file, quint16(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    QByteArray data;
    for (const QImage &image : images) {
        const QByteArray png = pngBytes(image);
        file.append(char(image.width())).append(char(image.height())).append('\0').append('\0');
        appendLittleEndian16(file, 1);
        appendLittleEndian16(file, 32);
        appendLittleEndian32(file, quint32(png.size()));
        appendLittleEndian32(file, offset);
        offset += quint32(png.size());
        data += png;
    }
    return file + data;
}

QImage plain(int side, QRgb colour)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// Two images share the largest size; the first of them is the one to convert.
QString saveTiedIcon(const QString &folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("made-tied-sizes.ico"));
    QFile file(path);
    const QByteArray bytes = iconFile({plain(8, qRgb(128, 128, 128)), plain(16, qRgb(0, 0, 0)), plain(16, qRgb(255, 255, 255))});
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
}

} // namespace

QStringList writeSamplePictures(const QString &folder)
{
    return {save(everyGrey(), folder, QStringLiteral("made-every-grey.png")),
            save(oddNoise(), folder, QStringLiteral("made-odd-noise.bmp")),
            save(gradedAlpha(), folder, QStringLiteral("made-graded-alpha.png")),
            save(threeByOne(), folder, QStringLiteral("made-three-by-one.png")),
            saveTiedIcon(folder)};
}
