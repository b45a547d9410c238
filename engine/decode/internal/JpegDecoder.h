#pragma once

#include "engine/decode/MemoryBudget.h"
#include "engine/StopToken.h"

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <memory>

// One libjpeg decoder over JPEG data in memory, with the decoder settings of Qt's own JPEG reader
// (so the pixels are the same), a row at a time into the caller's buffers. Only colour, RGB and
// greyscale data qualify. The data must outlive the decoder. Its reads of the data fail once
// `stop` is requested, and so does every call after. Decoding stops at the first sign that the
// data has run out: filler is never decoded.
class JpegDecoder
{
public:
    // Null when the data is not such a JPEG or cannot be decoded at all; a decoder that is
    // damaged() already when the file turned out damaged before its first row. A file of several
    // scans is decoded whole here, within `budget`: MemoryBudget::Exceeded is thrown before its
    // coefficients are allocated when they would take more, std::bad_alloc when memory runs out.
    static std::unique_ptr<JpegDecoder> open(QByteArrayView data, StopToken stop, const MemoryBudget &budget);
    // Whether the data decodes without the decoder making anything up: it may lack its end marker,
    // but no scan may stop early or be missing, whatever follows it. False for data this decoder
    // does not take, and once `stop` is requested. Throws as open() does.
    static bool dataIsComplete(QByteArrayView data, StopToken stop, const MemoryBudget &budget);
    // The memory decoding the data takes beside its rows, as its header declares: the
    // whole-picture coefficients of a file of several scans; 0 for one scan or no JPEG.
    static double bufferBytes(QByteArrayView data);
    ~JpegDecoder();

    QSize size() const;
    // A file of a single scan can be read from any row, its data above only skimmed.
    bool isOneScan() const;
    int rowsRead() const;

    // Decodes the next row, width() pixels of 0xFFRRGGBB, into `into`; false when there is none,
    // the file turns out damaged or a stop was requested. Throws std::bad_alloc when the decoder
    // runs out of memory.
    bool readRow(QRgb *into);
    // The same into a row of the decoder's own, valid until the next call; null for false.
    const QRgb *nextRow();
    // Passes over `count` rows: for a one-scan file only their compressed data is read, about half
    // the work of decoding them, and the rows after come out exactly as without the skip.
    bool skip(int count);
    // Reads the rows not asked for; whether the file turned out whole to its last row.
    bool finish();
    // Every row, from the first, into a picture in Format_RGB32; null when the file turns out
    // damaged. Throws std::bad_alloc when the picture does not fit in memory.
    QImage readPicture();
    // A file may lack its end marker, but not picture data: whether a scan ran short, or the file
    // ended before the scans read were all the picture has.
    bool damaged() const;

private:
    struct State;
    explicit JpegDecoder(std::unique_ptr<State> state);

    std::unique_ptr<State> m_state;
};
