#include "FileEnd.h"

#include <QByteArray>
#include <QtGlobal>
#include <cstdlib>

namespace {

unsigned byteAt(const QByteArray &data, qint64 at)
{
    return static_cast<unsigned char>(data.at(at));
}

quint32 littleEndian16(const QByteArray &data, qint64 at)
{
    return byteAt(data, at) | byteAt(data, at + 1) << 8;
}

quint32 littleEndian32(const QByteArray &data, qint64 at)
{
    return littleEndian16(data, at) | littleEndian16(data, at + 2) << 16;
}

quint32 bigEndian32(const QByteArray &data, qint64 at)
{
    return byteAt(data, at) << 24 | byteAt(data, at + 1) << 16 | byteAt(data, at + 2) << 8 | byteAt(data, at + 3);
}

// JPEG markers that stand alone, without a length field.
bool standsAlone(unsigned marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// From the start of entropy-coded data, the offset of the next real marker's 0xFF, or -1 at the end of the data.
// 0xFF 0x00 is a stuffed data byte and 0xFF 0xD0..0xD7 a restart marker, both part of the coded data.
qint64 nextMarkerAfterScan(const QByteArray &data, qint64 at)
{
    while (at + 1 < data.size()) {
        if (byteAt(data, at) == 0xFF) {
            const unsigned next = byteAt(data, at + 1);
            if (next != 0x00 && next != 0xFF && !(next >= 0xD0 && next <= 0xD7))
                return at;
        }
        ++at;
    }
    return -1;
}

// GIF data sub-blocks: a size byte and that many bytes, until a size of 0. The offset after them, or -1.
qint64 skipSubBlocks(const QByteArray &data, qint64 at)
{
    while (at < data.size()) {
        const unsigned size = byteAt(data, at);
        ++at;
        if (size == 0)
            return at;
        at += size;
    }
    return -1;
}

// Run-length coded BMP pixels: pairs of bytes until the end-of-bitmap escape 00 01.
bool runLengthReachesEnd(const QByteArray &data, qint64 at, bool fourBit)
{
    while (at + 1 < data.size()) {
        const unsigned count = byteAt(data, at);
        const unsigned code = byteAt(data, at + 1);
        at += 2;
        if (count > 0 || code == 0)
            continue; // a run, or the end of a line
        if (code == 1)
            return true;
        if (code == 2) {
            at += 2; // a move
            continue;
        }
        const qint64 bytes = fourBit ? (code + 1) / 2 : code; // literal pixels, padded to a whole 16-bit word
        at += bytes + bytes % 2;
    }
    return false;
}

} // namespace

bool jpegReachesEnd(const QByteArray &data)
{
    if (data.size() < 4 || byteAt(data, 0) != 0xFF || byteAt(data, 1) != 0xD8)
        return false;
    qint64 at = 2;
    while (at < data.size()) {
        if (byteAt(data, at) != 0xFF)
            return false;
        while (at < data.size() && byteAt(data, at) == 0xFF)
            ++at; // fill bytes before a marker
        if (at >= data.size())
            return false;
        const unsigned marker = byteAt(data, at);
        ++at;
        if (marker == 0xD9)
            return true;
        if (standsAlone(marker))
            continue;
        if (at + 2 > data.size())
            return false;
        const qint64 length = byteAt(data, at) * 256 + byteAt(data, at + 1);
        if (length < 2 || at + length > data.size())
            return false;
        at += length;
        if (marker == 0xDA) {
            at = nextMarkerAfterScan(data, at);
            if (at < 0)
                return false;
        }
    }
    return false;
}

bool pngReachesEnd(const QByteArray &data)
{
    qint64 at = 8; // signature
    while (at + 8 <= data.size()) {
        const qint64 length = bigEndian32(data, at);
        const QByteArray type = data.mid(at + 4, 4);
        at += 12 + length; // length, type, data, check sum
        if (at > data.size())
            return false;
        if (type == "IEND")
            return true;
    }
    return false;
}

bool gifReachesEnd(const QByteArray &data)
{
    if (data.size() < 13)
        return false;
    const unsigned screenFlags = byteAt(data, 10);
    qint64 at = 13 + ((screenFlags & 0x80) ? 3 << ((screenFlags & 7) + 1) : 0);
    while (at >= 0 && at < data.size()) {
        const unsigned introducer = byteAt(data, at);
        if (introducer == 0x3B)
            return true;
        if (introducer == 0x21) {
            at = skipSubBlocks(data, at + 2); // introducer and label, then the extension's data
        } else if (introducer == 0x2C) {
            if (at + 10 > data.size())
                return false;
            const unsigned imageFlags = byteAt(data, at + 9);
            at += 10 + ((imageFlags & 0x80) ? 3 << ((imageFlags & 7) + 1) : 0);
            at = skipSubBlocks(data, at + 1); // the code size byte, then the coded pixels
        } else {
            return false;
        }
    }
    return false;
}

bool bmpReachesEnd(const QByteArray &data)
{
    if (data.size() < 26)
        return false;
    const qint64 pixelsAt = littleEndian32(data, 10);
    const quint32 headerSize = littleEndian32(data, 14);
    qint64 width = 0;
    qint64 height = 0;
    quint32 bitsPerPixel = 0;
    quint32 compression = 0;
    if (headerSize == 12) {
        width = littleEndian16(data, 18);
        height = qint16(littleEndian16(data, 20));
        bitsPerPixel = littleEndian16(data, 24);
    } else {
        if (data.size() < 34)
            return false;
        width = qint32(littleEndian32(data, 18));
        height = qint32(littleEndian32(data, 22));
        bitsPerPixel = littleEndian16(data, 28);
        compression = littleEndian32(data, 30);
    }
    switch (compression) {
    case 0: // plain rows, each padded to 32 bits
    case 3: // plain rows with bit masks
    case 6: {
        const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
        return pixelsAt + rowBytes * std::abs(height) <= data.size();
    }
    case 1: return runLengthReachesEnd(data, pixelsAt, false);
    case 2: return runLengthReachesEnd(data, pixelsAt, true);
    default: return true;
    }
}

bool iconReachesEnd(const QByteArray &data)
{
    if (data.size() < 6)
        return false;
    const qint64 count = littleEndian16(data, 4);
    if (6 + 16 * count > data.size())
        return false;
    for (qint64 index = 0; index < count; ++index) {
        const qint64 entry = 6 + 16 * index;
        if (qint64(littleEndian32(data, entry + 12)) + littleEndian32(data, entry + 8) > data.size())
            return false;
    }
    return true;
}

bool fileReachesEnd(const QByteArray &data, const QByteArray &format)
{
    if (format == "jpeg" || format == "jpg")
        return jpegReachesEnd(data);
    if (format == "png")
        return pngReachesEnd(data);
    if (format == "gif")
        return gifReachesEnd(data);
    if (format == "bmp")
        return bmpReachesEnd(data);
    if (format == "ico" || format == "cur")
        return iconReachesEnd(data);
    return true;
}
