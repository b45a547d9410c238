#pragma once

#include "engine/decode/internal/PictureRows.h"

#include <QByteArrayView>
#include <QString>
#include <memory>

// Decodes a JPEG file a row at a time, with the decoder settings of Qt's own JPEG reader (so the
// pixels are the same) but without holding the whole picture: a 20-megapixel photo needs its
// decoder's buffers only. Only files the reader can take as they are qualify: no EXIF rotation,
// and colour, RGB or greyscale data. The rows are decoded on a thread of their own, a few rows
// ahead of the reader, unless a second decoder takes the lower rows: a file of a single scan
// can be read from any row, its data above only skimmed.
class JpegRows : public PictureRows
{
public:
    // Null when the file is not such a JPEG; the caller then decodes it the general way.
    static std::unique_ptr<JpegRows> open(const QString &path);
    // Whether JPEG `data` decodes without the decoder making anything up: it may lack its end
    // marker, but no scan may stop early or be missing. False for data this decoder does not take.
    static bool dataIsComplete(QByteArrayView data);
    ~JpegRows() override;

    QSize size() const override;
    // Also null when picture data is missing: the decoder would pad it with grey. Throws
    // std::bad_alloc when the decoder runs out of memory.
    const QRgb *nextRow() override;
    bool finish() override;
    bool stoppedEarly() const override;
    // For a file of one scan: this one then decodes its rows on the caller's thread, since the
    // two decoders keep two cores busy already.
    std::unique_ptr<PictureRows> rowsFrom(int firstRow) override;
    // Skimming reads only the compressed data; measured on photos of 18 and 72 megapixels at
    // quality 85, with both decoders busy at once.
    double skipCost() const override { return 0.46; }

private:
    struct Decoder;
    class Ahead;
    JpegRows(std::unique_ptr<Decoder> decoder, const QString &path);
    static std::unique_ptr<Decoder> openDecoder(const QString &path);
    bool skipRowsAbove();

    std::unique_ptr<Decoder> m_decoder;
    QString m_path;
    bool m_readAhead = false; // rows are to be decoded on a thread of their own once asked for
    int m_rowsToSkip = 0; // before the first row is read
    std::unique_ptr<Ahead> m_ahead; // stopped before the decoder goes
};
