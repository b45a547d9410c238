#pragma once

#include "engine/decode/internal/PictureRows.h"
#include "engine/decode/MemoryBudget.h"

#include <memory>

class JpegDecoder;
class SourceFile;

// The rows of a one-scan JPEG photo from a given row down, read by a second decoder of their own
// on whichever thread asks for them, while the first decoder reads the rows above. The rows above
// are skimmed, not decoded, by the thread that reads the rows after them, since that takes a while.
class JpegLowerRows : public PictureRows
{
public:
    // Null when the file cannot be decoded so; `source` must outlive the rows.
    static std::unique_ptr<JpegLowerRows> open(const SourceFile &source, int firstRow, const MemoryBudget &budget);
    ~JpegLowerRows() override;

    QSize size() const override;
    // Null also when the file turns out damaged in the rows skimmed. Throws std::bad_alloc when
    // the decoder runs out of memory.
    const QRgb *nextRow() override;
    bool finish() override;
    bool stoppedEarly() const override;

private:
    explicit JpegLowerRows(std::unique_ptr<JpegDecoder> decoder);
    bool skipRowsAbove();

    std::unique_ptr<JpegDecoder> m_decoder;
    int m_rowsToSkip = 0; // before the first row is read
};
