#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QSize>

class QImageReader;

// What the header of the picture a reader is set to declares, known before anything is decoded.
namespace DeclaredPicture {

// Its size, the height positive for a bitmap stored top row first too.
QSize size(QImageReader &reader);
// The most its decoding holds at once: the picture as decoded (at 32 bits a pixel when the format
// is not declared), beside it either a copy turned by the EXIF orientation or a copy in 32-bit RGB,
// and, `file` being a JPEG, the coefficients libjpeg keeps.
double decodingBytes(QImageReader &reader, QByteArrayView file);
// A picture of the declared size and format for the reader to decode into; null where the format
// is not declared. Throws std::bad_alloc when it does not fit in memory.
QImage canvas(QImageReader &reader);

} // namespace DeclaredPicture
