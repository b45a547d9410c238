#include "engine/decode/internal/JpegRows.h"

#include "engine/decode/internal/JpegDecoder.h"
#include "engine/decode/internal/JpegLowerRows.h"
#include "engine/decode/internal/ReadAheadRing.h"
#include "engine/decode/internal/SourceReader.h"
#include "engine/decode/SourceFile.h"

#include <QImageIOHandler>
#include <system_error>

namespace {

// Files whose pixels the row decoder gives exactly as Qt's reader would.
bool isPlainJpeg(const SourceFile &source)
{
    SourceReader reader(source);
    return reader.readsJpeg() && reader.reader().transformation() == QImageIOHandler::TransformationNone;
}

} // namespace

std::unique_ptr<JpegRows> JpegRows::open(const SourceFile &source, const MemoryBudget &budget)
{
    if (!source.bytes().startsWith("\xFF\xD8") || !isPlainJpeg(source))
        return nullptr;
    std::unique_ptr<JpegDecoder> decoder = JpegDecoder::open(source.bytes(), source.stopToken(), budget);
    if (!decoder)
        return nullptr;
    return std::unique_ptr<JpegRows>(new JpegRows(source, std::move(decoder), budget));
}

JpegRows::JpegRows(const SourceFile &source, std::unique_ptr<JpegDecoder> decoder, const MemoryBudget &budget)
    : m_source(source), m_budget(budget), m_decoder(std::move(decoder))
{
}

JpegRows::~JpegRows() = default;

QSize JpegRows::size() const { return m_decoder->size(); }

const QRgb *JpegRows::nextRow()
{
    if (m_readAhead) {
        m_readAhead = false;
        try {
            m_ahead = std::make_unique<ReadAheadRing>(size().width(), [decoder = m_decoder.get()](QRgb *row) { return decoder->readRow(row); },
                                                      m_source.stopToken());
        } catch (const std::system_error &) {
            // No thread to be had: the rows are read on the caller's thread.
        }
    }
    return m_ahead ? m_ahead->next() : m_decoder->nextRow();
}

bool JpegRows::stoppedEarly() const { return m_decoder->damaged(); }

bool JpegRows::finish()
{
    if (m_ahead) {
        m_ahead->finish();
        m_ahead.reset();
    }
    return m_decoder->finish();
}

std::unique_ptr<PictureRows> JpegRows::rowsFrom(int firstRow)
{
    if (!m_decoder->isOneScan() || m_ahead || m_decoder->rowsRead() > 0)
        return nullptr;
    std::unique_ptr<PictureRows> lower = JpegLowerRows::open(m_source, firstRow, m_budget);
    if (lower)
        m_readAhead = false;
    return lower;
}
