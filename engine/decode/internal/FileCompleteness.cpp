#include "engine/decode/internal/FileCompleteness.h"

#include "engine/decode/internal/JpegDecoder.h"

#include <QtNumeric>
#include <cstring>

namespace {

class Bytes
{
public:
    explicit Bytes(QByteArrayView data) : m_data(reinterpret_cast<const unsigned char *>(data.data())), m_size(data.size()) {}

    qsizetype size() const { return m_size; }
    bool has(qsizetype pos, qsizetype count = 1) const { return pos >= 0 && count >= 0 && pos + count <= m_size; }
    unsigned at(qsizetype pos) const { return m_data[pos]; }
    quint32 le16(qsizetype pos) const { return at(pos) | at(pos + 1) << 8; }
    quint32 le32(qsizetype pos) const { return le16(pos) | le16(pos + 2) << 16; }
    quint32 be16(qsizetype pos) const { return at(pos) << 8 | at(pos + 1); }
    quint32 be32(qsizetype pos) const { return be16(pos) << 16 | be16(pos + 2); }
    bool startsWith(const char *magic, qsizetype length) const
    {
        return m_size >= length && std::memcmp(m_data, magic, std::size_t(length)) == 0;
    }
    // The first 0xFF at or after `pos`, or size().
    qsizetype nextFF(qsizetype pos) const
    {
        const void *found = pos < m_size ? std::memchr(m_data + pos, 0xFF, std::size_t(m_size - pos)) : nullptr;
        return found ? static_cast<const unsigned char *>(found) - m_data : m_size;
    }

private:
    const unsigned char *m_data;
    qsizetype m_size;
};

// After a JPEG scan header: the position of the marker that ends the entropy-coded data.
qsizetype endOfScan(const Bytes &b, qsizetype pos)
{
    while (true) {
        pos = b.nextFF(pos);
        if (!b.has(pos, 2))
            return b.size();
        const unsigned next = b.at(pos + 1);
        const bool partOfData = next == 0x00 || next == 0xFF || (next >= 0xD0 && next <= 0xD7);
        if (!partOfData)
            return pos;
        pos += next == 0xFF ? 1 : 2;
    }
}

// GIF data sub-blocks from `pos`: the position after their terminating empty block, or -1.
qsizetype afterSubBlocks(const Bytes &b, qsizetype pos)
{
    while (b.has(pos)) {
        const unsigned length = b.at(pos);
        pos += 1 + length;
        if (length == 0)
            return pos;
    }
    return -1;
}

qsizetype colourTableBytes(unsigned flags) { return (flags & 0x80) ? qsizetype(3) << ((flags & 7) + 1) : 0; }

// Run-length coded bitmap rows reach the end-of-bitmap escape (0, 1). Without it the picture is
// still whole once every row has been closed by its end-of-line escape (0, 0) or passed by a jump.
bool runLengthReachesEnd(const Bytes &b, qsizetype pos, bool fourBits, qint64 rows)
{
    qint64 rowsEnded = 0;
    while (b.has(pos, 2)) {
        const unsigned count = b.at(pos), code = b.at(pos + 1);
        pos += 2;
        if (count != 0)
            continue;
        if (code == 0) {
            ++rowsEnded;
            continue;
        }
        if (code == 1)
            return true;
        if (code == 2) {
            if (b.has(pos, 2))
                rowsEnded += b.at(pos + 1);
            pos += 2;
            continue;
        }
        const qsizetype literal = fourBits ? (code + 1) / 2 : code;
        pos += literal + (literal & 1);
    }
    return rowsEnded >= rows;
}

} // namespace

bool jpegReachesEndMarker(QByteArrayView data)
{
    const Bytes b(data);
    if (!b.startsWith("\xFF\xD8", 2))
        return false;
    qsizetype pos = 2;
    while (b.has(pos, 2)) {
        if (b.at(pos) != 0xFF)
            return false;
        const unsigned marker = b.at(pos + 1);
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0xD9)
            return true;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2;
            continue;
        }
        if (!b.has(pos + 2, 2) || b.be16(pos + 2) < 2)
            return false;
        pos += 2 + b.be16(pos + 2);
        if (marker == 0xDA)
            pos = endOfScan(b, pos);
    }
    return false;
}

bool pngReachesEndChunk(QByteArrayView data)
{
    const Bytes b(data);
    if (!b.startsWith("\x89PNG\r\n\x1A\n", 8))
        return false;
    qsizetype pos = 8;
    while (b.has(pos, 12)) {
        const qsizetype length = b.be32(pos);
        const bool end = std::memcmp(data.data() + pos + 4, "IEND", 4) == 0;
        pos += 12 + length; // length, type, data, checksum
        if (!b.has(0, pos))
            return false;
        if (end)
            return true;
    }
    return false;
}

bool gifHoldsWholeBlocks(QByteArrayView data)
{
    const Bytes b(data);
    if (!b.startsWith("GIF8", 4) || !b.has(0, 13))
        return false;
    qsizetype pos = 13 + colourTableBytes(b.at(10));
    bool image = false;
    while (pos >= 0 && b.has(pos)) {
        switch (b.at(pos)) {
        case 0x3B:
            return true;
        case 0x21: // extension: introducer, label, sub-blocks
            pos = afterSubBlocks(b, pos + 2);
            break;
        case 0x2C: // image: descriptor, local colour table, code size, sub-blocks
            if (!b.has(pos, 10))
                return false;
            pos = afterSubBlocks(b, pos + 10 + colourTableBytes(b.at(pos + 9)) + 1);
            image = true;
            break;
        default:
            return false;
        }
    }
    // Many encoders leave out the trailer; the blocks before it are then all there is.
    return image && pos == b.size();
}

bool bmpHoldsAllRows(QByteArrayView data)
{
    const Bytes b(data);
    if (!b.startsWith("BM", 2) || !b.has(0, 26))
        return false;
    const qsizetype pixelsAt = b.le32(10);
    const quint32 headerSize = b.le32(14);
    qint64 width, height;
    quint32 bitsPerPixel, compression = 0;
    if (headerSize == 12) { // the old core header
        width = b.le16(18);
        height = b.le16(20);
        bitsPerPixel = b.le16(24);
    } else {
        if (!b.has(0, 34))
            return false;
        width = qint32(b.le32(18));
        height = qint32(b.le32(22));
        bitsPerPixel = b.le16(28);
        compression = b.le32(30);
    }
    constexpr quint32 plain = 0, runLength8 = 1, runLength4 = 2, bitFields = 3;
    if (compression == runLength8 || compression == runLength4)
        return runLengthReachesEnd(b, pixelsAt, compression == runLength4, std::abs(height));
    if (compression != plain && compression != bitFields)
        return true; // embedded JPEG or PNG data and the like: left to the decoder
    if (width < 0)
        return false;
    // A width below 2^31 of up to 65535 bits a pixel keeps a row below 2^45 bytes; the rows of a
    // height that large may pass what 64 bits hold.
    const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    qint64 pixelBytes = 0, end = 0;
    return !qMulOverflow(rowBytes, std::abs(height), &pixelBytes) && !qAddOverflow(qint64(pixelsAt), pixelBytes, &end)
           && end <= b.size();
}

bool iconHoldsAllImages(QByteArrayView data)
{
    const Bytes b(data);
    if (!b.has(0, 6) || b.le16(0) != 0 || (b.le16(2) != 1 && b.le16(2) != 2))
        return false;
    const qsizetype count = b.le16(4);
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype entry = 6 + 16 * i;
        if (!b.has(entry, 16) || !b.has(b.le32(entry + 12), b.le32(entry + 8)))
            return false;
    }
    return true;
}

bool pictureFileIsWhole(QByteArrayView data, const StopToken &stop, const MemoryBudget &budget)
{
    const Bytes b(data);
    if (b.startsWith("\xFF\xD8", 2))
        return jpegReachesEndMarker(data) || JpegDecoder::dataIsComplete(data, stop, budget);
    if (b.startsWith("\x89PNG", 4))
        return pngReachesEndChunk(data);
    if (b.startsWith("GIF8", 4))
        return gifHoldsWholeBlocks(data);
    if (b.startsWith("BM", 2))
        return bmpHoldsAllRows(data);
    if (b.has(0, 4) && b.le16(0) == 0 && (b.le16(2) == 1 || b.le16(2) == 2))
        return iconHoldsAllImages(data);
    return true;
}
