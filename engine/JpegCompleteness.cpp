#include "JpegCompleteness.h"

#include <cstring>

namespace {

constexpr unsigned char markerPrefix = 0xFF;
constexpr unsigned char startOfImage = 0xD8;
constexpr unsigned char endOfImage = 0xD9;
constexpr unsigned char startOfScan = 0xDA;

bool isStandalone(unsigned char marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

// The position of the next marker after entropy-coded data starting at `pos`, or size.
qsizetype skipEntropyData(const unsigned char *data, qsizetype size, qsizetype pos)
{
    while (pos < size) {
        const void *found = std::memchr(data + pos, markerPrefix, std::size_t(size - pos));
        if (!found)
            return size;
        pos = static_cast<const unsigned char *>(found) - data;
        if (pos + 1 >= size)
            return size;
        const unsigned char next = data[pos + 1];
        if (next == 0x00 || (next >= 0xD0 && next <= 0xD7) || next == markerPrefix) {
            pos += next == markerPrefix ? 1 : 2;
            continue;
        }
        return pos;
    }
    return size;
}

} // namespace

bool jpegReachesEndMarker(QByteArrayView view)
{
    const auto *data = reinterpret_cast<const unsigned char *>(view.data());
    const qsizetype size = view.size();
    if (size < 4 || data[0] != markerPrefix || data[1] != startOfImage)
        return false;

    qsizetype pos = 2;
    while (pos + 1 < size) {
        if (data[pos] != markerPrefix)
            return false;
        const unsigned char marker = data[pos + 1];
        if (marker == markerPrefix) { // fill byte
            ++pos;
            continue;
        }
        if (marker == endOfImage)
            return true;
        if (isStandalone(marker)) {
            pos += 2;
            continue;
        }
        if (pos + 3 >= size)
            return false;
        const qsizetype length = (qsizetype(data[pos + 2]) << 8) | data[pos + 3];
        if (length < 2)
            return false;
        pos += 2 + length;
        if (marker == startOfScan)
            pos = skipEntropyData(data, size, pos);
    }
    return false;
}
