#pragma once

#include "engine/decode/internal/PictureRows.h"
#include "engine/decode/MemoryBudget.h"

#include <memory>

class JpegDecoder;
class ReadAheadRing;
class SourceFile;

// A JPEG photo a row at a time, with the pixels Qt's own reader gives but without holding the
// whole picture: a 20-megapixel photo needs its decoder's buffers only. Only files Qt's reader
// would take as they are qualify: no EXIF rotation, and colour, RGB or greyscale data. The rows are
// decoded on a thread of their own, a few rows ahead of the reader, unless a second decoder takes
// the lower rows: a file of a single scan can be read from any row, its data above only skimmed.
class JpegRows : public PictureRows
{
public:
    // Null when the file is not such a JPEG; the caller then decodes it the general way. Rows that
    // stopped early already when the file turned out damaged before its first row. Throws as
    // JpegDecoder::open() does. `source` must outlive the rows.
    static std::unique_ptr<JpegRows> open(const SourceFile &source, const MemoryBudget &budget);
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
    JpegRows(const SourceFile &source, std::unique_ptr<JpegDecoder> decoder, const MemoryBudget &budget);

    const SourceFile &m_source;
    MemoryBudget m_budget;
    std::unique_ptr<JpegDecoder> m_decoder;
    bool m_readAhead = true; // rows are to be decoded on a thread of their own once asked for
    std::unique_ptr<ReadAheadRing> m_ahead; // stopped before the decoder goes
};
