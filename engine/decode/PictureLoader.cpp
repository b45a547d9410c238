#include "engine/decode/PictureLoader.h"

#include "engine/decode/internal/BitmapChannels.h"
#include "engine/decode/internal/DeclaredPicture.h"
#include "engine/decode/internal/FileCompleteness.h"
#include "engine/decode/internal/JpegDecoder.h"
#include "engine/decode/internal/SourceReader.h"
#include "engine/decode/SourceFile.h"

#include <QImageIOHandler>
#include <QImageReader>
#include <QTransform>
#include <new>

namespace {

bool refuse(QString *whyNot, const QString &reason)
{
    if (whyNot)
        *whyNot = reason;
    return false;
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
bool prepare(const SourceFile &source, QImageReader &reader, QString *whyNot)
{
    if (!source.isOpen())
        return refuse(whyNot, source.problem());
    // Asked before choosing an image: after a jump the icon reader no longer recognises its file.
    if (!reader.canRead())
        return refuse(whyNot, QStringLiteral("not a picture of a known kind"));
    chooseLargestImage(reader);
    return true;
}

// As Qt's reader turns a photo by its EXIF orientation: mirrored first, then turned.
QImage turned(QImage picture, QImageIOHandler::Transformations turn)
{
    if (turn == QImageIOHandler::TransformationRotate270)
        return picture.transformed(QTransform().rotate(270));
    picture = std::move(picture).mirrored(turn & QImageIOHandler::TransformationMirror, turn & QImageIOHandler::TransformationFlip);
    return turn & QImageIOHandler::TransformationRotate90 ? picture.transformed(QTransform().rotate(90)) : picture;
}

// A JPEG the row decoder takes is decoded by it: its pixels are those of Qt's reader, and a scan
// that stops early shows however the file goes on after it.
std::optional<QImage> decodedJpeg(JpegDecoder &decoder, QImageIOHandler::Transformations turn, const SourceFile &source, QString *whyNot)
{
    QImage picture = decoder.damaged() ? QImage() : decoder.readPicture();
    if (source.stopRequested())
        return std::nullopt;
    if (picture.isNull()) {
        refuse(whyNot, decoder.damaged() ? PictureLoader::cutShort : PictureLoader::damaged);
        return std::nullopt;
    }
    return turned(std::move(picture), turn);
}

} // namespace

namespace PictureLoader {

std::optional<QSize> peekSize(const SourceFile &source, QString *whyNot)
{
    SourceReader qtReader(source);
    QImageReader &reader = qtReader.reader();
    if (!prepare(source, reader, whyNot))
        return std::nullopt;
    QSize size = DeclaredPicture::size(reader);
    if (!size.isValid()) {
        refuse(whyNot, damaged);
        return std::nullopt;
    }
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    return size;
}

std::optional<QSize> peekSize(const QString &path, QString *whyNot) { return peekSize(SourceFile(path), whyNot); }

std::optional<QImage> load(const SourceFile &source, QString *whyNot, const MemoryBudget &budget)
{
    SourceReader qtReader(source);
    QImageReader &reader = qtReader.reader();
    if (!prepare(source, reader, whyNot))
        return std::nullopt;
    budget.check(DeclaredPicture::decodingBytes(reader, source.bytes()));
    if (qtReader.readsJpeg()) {
        if (const std::unique_ptr<JpegDecoder> decoder = JpegDecoder::open(source.bytes(), source.stopToken(), budget))
            return decodedJpeg(*decoder, reader.transformation(), source, whyNot);
    }
    if (!pictureFileIsWhole(source.bytes(), source.stopToken(), budget)) {
        if (!source.stopRequested())
            refuse(whyNot, cutShort);
        return std::nullopt;
    }
    QImage image = DeclaredPicture::canvas(reader);
    const bool read = reader.read(&image);
    if (source.stopRequested())
        return std::nullopt;
    if (!read) {
        refuse(whyNot, damaged);
        return std::nullopt;
    }
    widenBitmapChannels(image, source.bytes());
    if (image.hasAlphaChannel())
        image = overWhite(std::move(image));
    else
        image.convertTo(QImage::Format_RGB32);
    if (image.isNull())
        throw std::bad_alloc();
    return image;
}

std::optional<QImage> load(const QString &path, QString *whyNot, StopSource stop)
{
    return load(SourceFile(path, std::move(stop)), whyNot);
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
