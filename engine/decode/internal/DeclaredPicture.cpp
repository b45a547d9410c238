#include "engine/decode/internal/DeclaredPicture.h"

#include "engine/decode/internal/JpegDecoder.h"

#include <QImageIOHandler>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <new>

namespace {

// Format_Invalid when the header does not tell. Icons declare one image's format but decode to 32
// bits, premultiplied.
QImage::Format formatOf(QImageReader &reader)
{
    const bool icon = reader.format() == "ico" || reader.format() == "cur";
    return icon ? QImage::Format_Invalid : reader.imageFormat();
}

} // namespace

namespace DeclaredPicture {

QSize size(QImageReader &reader)
{
    const QSize size = reader.size();
    return {size.width(), std::abs(size.height())};
}

double decodingBytes(QImageReader &reader, QByteArrayView file)
{
    const QSize declared = size(reader);
    const double width = std::max(declared.width(), 0), height = std::max(declared.height(), 0);
    const QImage::Format format = formatOf(reader);
    const int bits = format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
    const double decoded = std::ceil(width * bits / 32) * 4 * height;
    const bool turned = reader.transformation() != QImageIOHandler::TransformationNone;
    const bool converted = format != QImage::Format_RGB32 && format != QImage::Format_ARGB32;
    return decoded + std::max(turned ? decoded : 0.0, converted ? width * height * 4 : 0.0) + JpegDecoder::bufferBytes(file);
}

// Qt's decoders report a picture they could not allocate as one they could not read, but decode
// into a picture given them at the size and in the format they would allocate: allocated here, a
// picture that does not fit in memory shows as such.
QImage canvas(QImageReader &reader)
{
    const QSize declared = size(reader);
    const QImage::Format format = formatOf(reader);
    if (format == QImage::Format_Invalid || declared.isEmpty())
        return {};
    QImage picture(declared, format);
    if (picture.isNull())
        throw std::bad_alloc();
    return picture;
}

} // namespace DeclaredPicture
