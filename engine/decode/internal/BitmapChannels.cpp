#include "engine/decode/internal/BitmapChannels.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace {

quint32 le32(QByteArrayView data, qsizetype pos)
{
    const auto byte = [&](qsizetype i) { return quint32(static_cast<unsigned char>(data[pos + i])); };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

// Channel c of a reader's output back to round(v x 255 / max), v its top `bits` bits.
std::array<int, 256> widening(int bits)
{
    std::array<int, 256> table{};
    const double max = (1 << bits) - 1;
    for (int c = 0; c < 256; ++c)
        table[c] = bits >= 8 || bits <= 0 ? c : int(std::nearbyint((c >> (8 - bits)) * 255 / max));
    return table;
}

} // namespace

void widenBitmapChannels(QImage &image, QByteArrayView file)
{
    const QByteArrayView fileStart = file.first(std::min<qsizetype>(file.size(), 66));
    // File header, then the info header: its size at 14, bits per pixel at 28, compression at 30;
    // bit-field masks follow at 54 in every info header of 40 bytes or more.
    constexpr quint32 plain = 0, bitFields = 3;
    if (fileStart.size() < 54 || !fileStart.startsWith("BM") || le32(fileStart, 14) < 40 || image.isNull())
        return;
    const quint32 bitsPerPixel = le32(fileStart, 28) & 0xFFFF, compression = le32(fileStart, 30);
    std::array<quint32, 3> masks{};
    if (compression == bitFields && fileStart.size() == 66 && (bitsPerPixel == 16 || bitsPerPixel == 32))
        masks = {le32(fileStart, 54), le32(fileStart, 58), le32(fileStart, 62)};
    else if (compression == plain && bitsPerPixel == 16)
        masks = {0x7C00, 0x03E0, 0x001F};
    else
        return;
    if (std::none_of(masks.begin(), masks.end(), [](quint32 mask) { return std::popcount(mask) < 8; }))
        return;
    const std::array<int, 256> red = widening(std::popcount(masks[0])), green = widening(std::popcount(masks[1])),
                               blue = widening(std::popcount(masks[2]));
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgba(red[qRed(line[x])], green[qGreen(line[x])], blue[qBlue(line[x])], qAlpha(line[x]));
    }
}
