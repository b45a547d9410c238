#include "engine/decode/internal/JpegLowerRows.h"

#include "engine/decode/internal/JpegDecoder.h"
#include "engine/decode/SourceFile.h"

#include <utility>

std::unique_ptr<JpegLowerRows> JpegLowerRows::open(const SourceFile &source, int firstRow, const MemoryBudget &budget)
{
    std::unique_ptr<JpegDecoder> decoder = JpegDecoder::open(source.bytes(), source.stopToken(), budget);
    if (!decoder)
        return nullptr;
    std::unique_ptr<JpegLowerRows> lower(new JpegLowerRows(std::move(decoder)));
    lower->m_rowsToSkip = firstRow;
    return lower;
}

JpegLowerRows::JpegLowerRows(std::unique_ptr<JpegDecoder> decoder) : m_decoder(std::move(decoder)) {}

JpegLowerRows::~JpegLowerRows() = default;

QSize JpegLowerRows::size() const { return m_decoder->size(); }

const QRgb *JpegLowerRows::nextRow() { return skipRowsAbove() ? m_decoder->nextRow() : nullptr; }

bool JpegLowerRows::finish() { return skipRowsAbove() && m_decoder->finish(); }

bool JpegLowerRows::stoppedEarly() const { return m_decoder->damaged(); }

// False when the file turns out damaged there.
bool JpegLowerRows::skipRowsAbove() { return m_rowsToSkip == 0 || m_decoder->skip(std::exchange(m_rowsToSkip, 0)); }
