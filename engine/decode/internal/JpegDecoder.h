#pragma once

#include "engine/StopToken.h"

#include <QByteArrayView>
#include <QRgb>
#include <QSize>
#include <memory>

// One libjpeg decoder over JPEG data in memory, with the decoder settings of Qt's own JPEG reader
// (so the pixels are the same), a row at a time into the caller's buffers. Only colour, RGB and
// greyscale data qualify. The data must outlive the decoder. Its reads of the data fail once
// `stop` is requested, and so does every call after.
class JpegDecoder
{
public:
    // Null when the data is not such a JPEG, turns out damaged before its first row or cannot be
    // decoded at all (its memory included). A file of several scans is decoded whole here.
    static std::unique_ptr<JpegDecoder> open(QByteArrayView data, StopToken stop);
    // Whether the data decodes without the decoder making anything up: it may lack its end marker,
    // but no scan may stop early or be missing. False for data this decoder does not take, and
    // once `stop` is requested.
    static bool dataIsComplete(QByteArrayView data, StopToken stop);
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
    // A file may lack its end marker, but not picture data: whether the data ran short or the
    // scans read are not all the picture has.
    bool damaged() const;

private:
    struct State;
    explicit JpegDecoder(std::unique_ptr<State> state);

    std::unique_ptr<State> m_state;
};
