#include "JpegEndCheck.h"

#include <QByteArray>

namespace {

unsigned char byteAt(const QByteArray &data, qsizetype at)
{
    return static_cast<unsigned char>(data.at(at));
}

// Markers that stand alone, without a length field.
bool standsAlone(unsigned char marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// From the start of entropy-coded data, the offset of the next real marker's 0xFF, or -1 at the end of the data.
// 0xFF 0x00 is a stuffed data byte and 0xFF 0xD0..0xD7 a restart marker, both part of the coded data.
qsizetype nextMarkerAfterScan(const QByteArray &data, qsizetype at)
{
    while (at + 1 < data.size()) {
        if (byteAt(data, at) == 0xFF) {
            const unsigned char next = byteAt(data, at + 1);
            if (next != 0x00 && next != 0xFF && !(next >= 0xD0 && next <= 0xD7))
                return at;
        }
        ++at;
    }
    return -1;
}

} // namespace

bool jpegReachesEnd(const QByteArray &data)
{
    if (data.size() < 4 || byteAt(data, 0) != 0xFF || byteAt(data, 1) != 0xD8)
        return false;
    qsizetype at = 2;
    while (at < data.size()) {
        if (byteAt(data, at) != 0xFF)
            return false;
        while (at < data.size() && byteAt(data, at) == 0xFF)
            ++at; // fill bytes before a marker
        if (at >= data.size())
            return false;
        const unsigned char marker = byteAt(data, at);
        ++at;
        if (marker == 0xD9)
            return true;
        if (standsAlone(marker))
            continue;
        if (at + 2 > data.size())
            return false;
        const qsizetype length = byteAt(data, at) * 256 + byteAt(data, at + 1);
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
