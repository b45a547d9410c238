#include "resources/artwork/IcoFile.h"

#include <QDataStream>
#include <QImage>
#include <QIODevice>

namespace {

constexpr int directorySize = 6;
constexpr int entrySize = 16;
constexpr int dibHeaderSize = 40;

int maskStride(int width) { return (width + 31) / 32 * 4; }

QByteArray dib(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    // The DIB's height counts the colour rows and the mask rows together.
    out << quint32(dibHeaderSize) << qint32(image.width()) << qint32(2 * image.height()) << quint16(1)
        << quint16(32) << quint32(0) << quint32(0) << qint32(0) << qint32(0) << quint32(0) << quint32(0);
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            out << quint8(qBlue(line[x])) << quint8(qGreen(line[x])) << quint8(qRed(line[x])) << quint8(qAlpha(line[x]));
    }
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray mask(maskStride(image.width()), '\0');
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) == 0)
                mask[x / 8] = char(mask[x / 8] | (0x80 >> (x % 8)));
        }
        out.writeRawData(mask.constData(), int(mask.size()));
    }
    return bytes;
}

} // namespace

QByteArray icoFile(const QList<QImage> &images)
{
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(images.size());
    QList<QByteArray> dibs;
    quint32 offset = directorySize + entrySize * images.size();
    for (const QImage &image : images) {
        dibs.append(dib(image));
        // A side of 256 is stored as 0.
        out << quint8(image.width() % 256) << quint8(image.height() % 256) << quint8(0) << quint8(0) << quint16(1)
            << quint16(32) << quint32(dibs.last().size()) << offset;
        offset += dibs.last().size();
    }
    for (const QByteArray &bytes : dibs)
        out.writeRawData(bytes.constData(), int(bytes.size()));
    return file;
}
