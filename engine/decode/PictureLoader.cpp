#include "engine/decode/PictureLoader.h"

#include "engine/decode/internal/BitmapChannels.h"
#include "engine/decode/internal/FileCompleteness.h"
#include "engine/text/FileChecks.h"

#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>
#include <new>

namespace {

// Qt refuses pictures above 128 MB by default (about 32 megapixels). The conversion takes
// pictures up to 32767 pixels a side, 4 bytes a pixel, so the limit is raised to that.
constexpr int allocationLimitMegabytes = 4200;

// The source as the decoders read it. Once `stop` is set its next read fails, which ends a
// decoder that has no other way of being told to stop.
class PictureFile : public QFile
{
public:
    PictureFile(const QString &path, const std::atomic_bool *stop) : QFile(path), m_stop(stop) {}

protected:
    qint64 readData(char *data, qint64 maxSize) override { return stopped() ? -1 : QFile::readData(data, maxSize); }
    qint64 readLineData(char *data, qint64 maxSize) override { return stopped() ? -1 : QFile::readLineData(data, maxSize); }

private:
    bool stopped() const { return m_stop && *m_stop; }

    const std::atomic_bool *m_stop;
};

bool refuse(QString *whyNot, const QString &reason)
{
    if (whyNot)
        *whyNot = reason;
    return false;
}

// Checked before opening: a FIFO or a device would block the open, or the read, for ever.
bool openSource(PictureFile &file, QString *whyNot)
{
    if (const std::optional<QString> problem = FileChecks::sourceProblem(file.fileName()))
        return refuse(whyNot, *problem);
    return file.open(QIODevice::ReadOnly) || refuse(whyNot, file.errorString());
}

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
bool prepare(QImageReader &reader, QString *whyNot)
{
    QImageReader::setAllocationLimit(std::max(QImageReader::allocationLimit(), allocationLimitMegabytes));
    reader.setAutoTransform(true);
    // Asked before choosing an image: after a jump the icon reader no longer recognises its file.
    if (!reader.canRead())
        return refuse(whyNot, QStringLiteral("not a picture of a known kind"));
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

std::optional<QSize> peekSize(const QString &path, QString *whyNot)
{
    PictureFile file(path, nullptr);
    QImageReader reader(&file);
    if (!openSource(file, whyNot) || !prepare(reader, whyNot))
        return std::nullopt;
    QSize size = reader.size();
    size.setHeight(std::abs(size.height())); // a bitmap stored top row first gives its height negative
    if (!size.isValid()) {
        refuse(whyNot, damaged);
        return std::nullopt;
    }
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    return size;
}

std::optional<QImage> load(const QString &path, QString *whyNot, const std::atomic_bool *stop)
{
    PictureFile file(path, stop);
    QImageReader reader(&file);
    if (!openSource(file, whyNot) || !prepare(reader, whyNot))
        return std::nullopt;
    if (!fileIsWhole(path)) {
        refuse(whyNot, cutShort);
        return std::nullopt;
    }
    QSize size = reader.size();
    size.setHeight(std::abs(size.height()));
    QImage image;
    const bool read = reader.read(&image);
    if (stop && *stop)
        return std::nullopt;
    if (!read) {
        // Decoders report a picture they could not allocate as one they could not read.
        if (size.isValid() && QImage(size, QImage::Format_RGB32).isNull())
            throw std::bad_alloc();
        refuse(whyNot, damaged);
        return std::nullopt;
    }
    widenBitmapChannels(image, path);
    if (image.hasAlphaChannel())
        image = overWhite(std::move(image));
    else
        image.convertTo(QImage::Format_RGB32);
    if (image.isNull())
        throw std::bad_alloc();
    return image;
}

QImage overWhite(QImage image)
{
    image.convertTo(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const int alpha = qAlpha(pixel);
            const auto over = [alpha](int channel) { return (channel * alpha + 255 * (255 - alpha) + 127) / 255; };
            line[x] = qRgb(over(qRed(pixel)), over(qGreen(pixel)), over(qBlue(pixel)));
        }
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

} // namespace PictureLoader
