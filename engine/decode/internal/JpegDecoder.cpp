#include "engine/decode/internal/JpegDecoder.h"

#include "engine/decode/internal/RowBuffers.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <limits>
#include <new>
#include <optional>

#include <jpeglib.h>
#include <jerror.h>

namespace {

struct ErrorManager
{
    jpeg_error_mgr base; // first, so the decoder's pointer to it leads back here
    std::jmp_buf jump;
    bool fileEnded = false;  // the data stopped before the end marker
    bool shortOfData = false; // a scan's data stopped early: the decoder would make up coefficients
};

ErrorManager &managerOf(j_common_ptr info) { return *reinterpret_cast<ErrorManager *>(info->err); }

[[noreturn]] void leaveOnError(j_common_ptr info) { std::longjmp(managerOf(info).jump, 1); }

// Warnings are not printed; those that say the data stopped are noted. A scan that runs short
// leaves the decoder at once: all it would decode after is filler, which for a file a few hundred
// bytes long that claims 32767 x 32767 pixels takes seconds.
void noteWarning(j_common_ptr info, int level)
{
    if (level >= 0)
        return;
    const int code = info->err->msg_code;
    managerOf(info).fileEnded |= code == JWRN_JPEG_EOF;
    if (code == JWRN_HIT_MARKER || code == JWRN_MUST_RESYNC) {
        managerOf(info).shortOfData = true;
        leaveOnError(info);
    }
}

// The whole-picture coefficients libjpeg keeps for a file of several scans: 64 coefficients of
// 2 bytes for every 8 x 8 block of every component, in whole MCUs.
double coefficientBytes(const jpeg_decompress_struct &info)
{
    if (!info.progressive_mode && info.comps_in_scan == info.num_components)
        return 0;
    double bytes = 0;
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info &component = info.comp_info[c];
        const auto whole = [](JDIMENSION blocks, int factor) { return std::ceil(double(blocks) / factor) * factor; };
        bytes += whole(component.width_in_blocks, component.h_samp_factor) * whole(component.height_in_blocks, component.v_samp_factor)
                 * double(sizeof(JBLOCK));
    }
    return bytes;
}

// The data handed to the decoder a piece at a time, so that a stop is seen between pieces even
// inside one long call (a progressive file's scans are all decoded by jpeg_start_decompress). A
// piece is large enough for the decoder's fast path to stay on for all but its last few bytes.
struct PieceSource
{
    static constexpr std::size_t pieceBytes = 256 * 1024;

    jpeg_source_mgr base; // first, so the decoder's pointer to it leads back here
    const JOCTET *data = nullptr;
    std::size_t size = 0;
    std::size_t handedOut = 0;
    StopToken stop;
    bool stopped = false;
};

PieceSource &sourceOf(j_decompress_ptr info) { return *reinterpret_cast<PieceSource *>(info->src); }

// As libjpeg's own sources do, the end of the data is reported as a warning and an end marker
// put in its place; a stop ends the decoder through its error exit.
boolean handNextPiece(j_decompress_ptr info)
{
    static const JOCTET endMarker[] = {0xFF, JPEG_EOI};
    PieceSource &source = sourceOf(info);
    if (source.stop.stop_requested()) {
        source.stopped = true;
        ERREXIT(info, JERR_INPUT_EOF);
    }
    if (source.handedOut == source.size) {
        if (source.size == 0)
            ERREXIT(info, JERR_INPUT_EMPTY);
        WARNMS(info, JWRN_JPEG_EOF);
        source.base.next_input_byte = endMarker;
        source.base.bytes_in_buffer = sizeof endMarker;
        return TRUE;
    }
    const std::size_t piece = std::min(PieceSource::pieceBytes, source.size - source.handedOut);
    source.base.next_input_byte = source.data + source.handedOut;
    source.base.bytes_in_buffer = piece;
    source.handedOut += piece;
    return TRUE;
}

void skipData(j_decompress_ptr info, long count)
{
    jpeg_source_mgr &source = *info->src;
    if (count <= 0)
        return;
    while (std::size_t(count) > source.bytes_in_buffer) {
        count -= long(source.bytes_in_buffer);
        // Never false: the data is all in memory, so the decoder never has to wait for it.
        handNextPiece(info);
    }
    source.next_input_byte += count;
    source.bytes_in_buffer -= std::size_t(count);
}

void nothingToDo(j_decompress_ptr) {}

} // namespace

struct JpegDecoder::State
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    PieceSource source{};
    bool created = false;
    bool oneScan = false;
    bool everyScanRead = false; // the scans read are all the picture has
    bool broken = false; // the decoder stopped on an error and cannot go on
    std::optional<RowBuffers> row; // for rows read into the decoder's own

    ~State()
    {
        if (created)
            jpeg_destroy_decompress(&info);
    }

    void attachSource(QByteArrayView data, StopToken stop)
    {
        source.data = reinterpret_cast<const JOCTET *>(data.data());
        source.size = std::size_t(data.size());
        source.stop = std::move(stop);
        source.base.init_source = nothingToDo;
        source.base.fill_input_buffer = handNextPiece;
        source.base.skip_input_data = skipData;
        source.base.resync_to_restart = jpeg_resync_to_restart;
        source.base.term_source = nothingToDo;
        info.src = &source.base;
    }

    // Reads the header and starts decoding; false for a file this decoder does not take. A file
    // damaged in its header or its first scans is taken, and is damaged().
    bool start(QByteArrayView data, StopToken stop, const MemoryBudget &budget)
    {
        info.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = leaveOnError;
        errors.base.emit_message = noteWarning;
        if (setjmp(errors.jump))
            return startFailed();
        jpeg_create_decompress(&info);
        created = true;
        attachSource(data, std::move(stop));
        jpeg_read_header(&info, TRUE);
        if (info.jpeg_color_space != JCS_YCbCr && info.jpeg_color_space != JCS_RGB && info.jpeg_color_space != JCS_GRAYSCALE)
            return false;
        oneScan = !info.progressive_mode && info.comps_in_scan == info.num_components;
        // Checked before jpeg_start_decompress() allocates them; libjpeg is held to the budget too.
        budget.check(coefficientBytes(info));
        info.mem->max_memory_to_use = long(std::min<qint64>(budget.bytes(), std::numeric_limits<long>::max()));
        info.out_color_space = JCS_EXT_BGRX; // read as a QRgb on little-endian machines
        // A file of several scans is read whole here, so its scans can be judged now.
        jpeg_start_decompress(&info);
        everyScanRead = oneScan || (info.progressive_mode && everyCoefficientRefined());
        return true;
    }

    bool startFailed()
    {
        broken = true;
        const int code = info.err->msg_code;
        if ((code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE) && !source.stopped)
            throw std::bad_alloc();
        return !source.stopped && damaged();
    }

    // Every coefficient of a progressive file reached its full precision (its last scan had Al 0).
    // A sequential file of several scans cannot tell whether more were to come.
    bool everyCoefficientRefined() const
    {
        for (int c = 0; c < info.num_components; ++c) {
            for (int k = 0; k < DCTSIZE2; ++k) {
                if (info.coef_bits[c][k] != 0)
                    return false;
            }
        }
        return true;
    }

    bool damaged() const { return errors.shortOfData || (errors.fileEnded && !everyScanRead); }

    bool readRow(QRgb *into)
    {
        if (broken || damaged() || info.output_scanline >= info.output_height || source.stop.stop_requested())
            return false;
        if (setjmp(errors.jump))
            return stopOnError();
        auto *samples = reinterpret_cast<JSAMPROW>(into);
        jpeg_read_scanlines(&info, &samples, 1);
        // Reading on to the end marker tells whether the file stops short after its last row.
        if (info.output_scanline == info.output_height)
            jpeg_finish_decompress(&info);
        return !damaged();
    }

    bool skip(int count)
    {
        if (broken || damaged())
            return false;
        if (setjmp(errors.jump))
            return stopOnError();
        jpeg_skip_scanlines(&info, JDIMENSION(count));
        return !damaged();
    }

    bool stopOnError()
    {
        broken = true;
        if (info.err->msg_code == JERR_OUT_OF_MEMORY && !source.stopped)
            throw std::bad_alloc();
        return false;
    }

    bool readHeader(QByteArrayView data)
    {
        info.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = leaveOnError;
        errors.base.emit_message = noteWarning;
        if (setjmp(errors.jump))
            return false;
        jpeg_create_decompress(&info);
        created = true;
        attachSource(data, {});
        jpeg_read_header(&info, TRUE);
        return true;
    }

    const QRgb *next()
    {
        if (!row)
            row.emplace(info.output_width, 1);
        return readRow(row->row(0)) ? row->row(0) : nullptr;
    }

    bool finish()
    {
        // Checked first, so that a decoder another thread took to the end needs no row of its own.
        while (!damaged() && info.output_scanline < info.output_height && next()) {
        }
        return !damaged() && info.output_scanline == info.output_height;
    }
};

std::unique_ptr<JpegDecoder> JpegDecoder::open(QByteArrayView data, StopToken stop, const MemoryBudget &budget)
{
    if constexpr (Q_BYTE_ORDER != Q_LITTLE_ENDIAN)
        return nullptr; // BGRX bytes are a QRgb only on little-endian machines
    auto state = std::make_unique<State>();
    if (!state->start(data, std::move(stop), budget))
        return nullptr;
    return std::unique_ptr<JpegDecoder>(new JpegDecoder(std::move(state)));
}

bool JpegDecoder::dataIsComplete(QByteArrayView data, StopToken stop, const MemoryBudget &budget)
{
    const std::unique_ptr<JpegDecoder> decoder = open(data, std::move(stop), budget);
    return decoder && decoder->finish();
}

double JpegDecoder::bufferBytes(QByteArrayView data)
{
    State state;
    return state.readHeader(data) ? coefficientBytes(state.info) : 0;
}

JpegDecoder::JpegDecoder(std::unique_ptr<State> state) : m_state(std::move(state)) {}

JpegDecoder::~JpegDecoder() = default;

QSize JpegDecoder::size() const { return QSize(int(m_state->info.output_width), int(m_state->info.output_height)); }

bool JpegDecoder::isOneScan() const { return m_state->oneScan; }

int JpegDecoder::rowsRead() const { return int(m_state->info.output_scanline); }

bool JpegDecoder::readRow(QRgb *into) { return m_state->readRow(into); }

const QRgb *JpegDecoder::nextRow() { return m_state->next(); }

bool JpegDecoder::skip(int count) { return m_state->skip(count); }

bool JpegDecoder::finish() { return m_state->finish(); }

bool JpegDecoder::damaged() const { return m_state->damaged(); }

QImage JpegDecoder::readPicture()
{
    QImage picture(size(), QImage::Format_RGB32);
    if (picture.isNull())
        throw std::bad_alloc();
    for (int y = 0; y < picture.height(); ++y) {
        if (!readRow(reinterpret_cast<QRgb *>(picture.scanLine(y))))
            return {};
    }
    return picture;
}
