#include "engine/decode/internal/JpegRows.h"

#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>
#include <condition_variable>
#include <csetjmp>
#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include <sys/stat.h>

#include <jpeglib.h>
#include <jerror.h>

namespace {

struct ErrorManager
{
    jpeg_error_mgr base; // first, so the decoder's pointer to it leads back here
    std::jmp_buf jump;
    bool fileEnded = false;  // the data stopped before the end marker
    bool shortOfData = false; // a scan's data stopped early: the decoder made up coefficients
};

ErrorManager &managerOf(j_common_ptr info) { return *reinterpret_cast<ErrorManager *>(info->err); }

[[noreturn]] void leaveOnError(j_common_ptr info) { std::longjmp(managerOf(info).jump, 1); }

// Warnings are not printed; those that say the data stopped are noted.
void noteWarning(j_common_ptr info, int level)
{
    if (level >= 0)
        return;
    const int code = info->err->msg_code;
    managerOf(info).fileEnded |= code == JWRN_JPEG_EOF;
    managerOf(info).shortOfData |= code == JWRN_HIT_MARKER || code == JWRN_MUST_RESYNC;
}

// Files whose pixels the row decoder gives exactly as Qt's reader would.
bool isPlainJpeg(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.format() == "jpeg" && reader.transformation() == QImageIOHandler::TransformationNone;
}

// Rows for the decoder to write into, each starting 16 bytes past a 64-byte cache line. The
// decoder writes a row that starts on 32 bytes with stores that bypass the cache, and the row is
// read straight back; where the heap happened to put it made a run fast or slow, with nothing more
// than the length of the output file's name. 16 bytes past a line also keeps 16-byte loads within
// one line.
class RowBuffers
{
public:
    RowBuffers(std::size_t pixels, int count)
        : m_stride((pixels * sizeof(QRgb) + offset + line - 1) / line * line),
          m_storage(static_cast<unsigned char *>(::operator new[](m_stride * std::size_t(count), std::align_val_t(line))))
    {
    }
    QRgb *row(int index) const { return reinterpret_cast<QRgb *>(m_storage.get() + std::size_t(index) * m_stride + offset); }

private:
    static constexpr std::size_t line = 64;
    static constexpr std::size_t offset = 16;
    struct Free
    {
        void operator()(unsigned char *storage) const { ::operator delete[](storage, std::align_val_t(line)); }
    };
    std::size_t m_stride;
    std::unique_ptr<unsigned char[], Free> m_storage;
};

// Whether two open files are one and the same, unchanged: on systems without inode numbers, the
// same size and time of change.
bool sameFile(std::FILE *a, std::FILE *b)
{
    struct stat first{}, second{};
    return fstat(fileno(a), &first) == 0 && fstat(fileno(b), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino && first.st_size == second.st_size && first.st_mtime == second.st_mtime;
}

} // namespace

struct JpegRows::Decoder
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    std::FILE *file = nullptr; // read from the file, or else from `memory`
    QByteArrayView memory;
    bool created = false;
    bool oneScan = false;
    bool everyScanRead = false; // the scans read are all the picture has
    bool broken = false; // the decoder stopped on an error and cannot go on
    std::optional<RowBuffers> row; // for rows read on the caller's thread

    ~Decoder()
    {
        if (created)
            jpeg_destroy_decompress(&info);
        if (file)
            std::fclose(file);
    }

    // Reads the header and starts decoding; false for a file this decoder does not take.
    bool start()
    {
        info.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = leaveOnError;
        errors.base.emit_message = noteWarning;
        if (setjmp(errors.jump))
            return false;
        jpeg_create_decompress(&info);
        created = true;
        if (file)
            jpeg_stdio_src(&info, file);
        else
            jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(memory.data()), static_cast<unsigned long>(memory.size()));
        jpeg_read_header(&info, TRUE);
        if (info.jpeg_color_space != JCS_YCbCr && info.jpeg_color_space != JCS_RGB && info.jpeg_color_space != JCS_GRAYSCALE)
            return false;
        oneScan = !info.progressive_mode && info.comps_in_scan == info.num_components;
        info.out_color_space = JCS_EXT_BGRX; // read as a QRgb on little-endian machines
        // A file of several scans is read whole here, so its scans can be judged now.
        jpeg_start_decompress(&info);
        everyScanRead = oneScan || (info.progressive_mode && everyCoefficientRefined());
        return !damaged();
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

    // A file may lack its end marker, but not picture data: the data must not have run short, and
    // the scans read must be all the picture has.
    bool damaged() const
    {
        return errors.fileEnded && (errors.shortOfData || !everyScanRead);
    }

    // Decodes the next row into `into`; false when there is none or the file turns out damaged.
    bool readRow(QRgb *into)
    {
        if (broken || damaged() || info.output_scanline >= info.output_height)
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

    // Passes over `count` rows. Only the compressed data of a one-scan file is read for them, about
    // half the work of decoding them; the rows after come out exactly as without the skip.
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
        if (info.err->msg_code == JERR_OUT_OF_MEMORY)
            throw std::bad_alloc();
        return false;
    }

    const QRgb *next()
    {
        if (!row)
            row.emplace(info.output_width, 1);
        return readRow(row->row(0)) ? row->row(0) : nullptr;
    }

    bool finish()
    {
        // Checked first, so that a decoder the reading thread took to the end needs no row of its own.
        while (!damaged() && info.output_scanline < info.output_height && next()) {
        }
        return !damaged() && info.output_scanline == info.output_height;
    }
};

// The decoder's thread writes rows into a ring of batches a little ahead of the reader, which
// takes them in order; on two cores, whatever the reader does with a row then costs next to
// nothing beside the decoding. A batch is handed over whole, so the threads meet once every few
// rows rather than at every row.
class JpegRows::Ahead
{
public:
    // Fewer or smaller batches were measured slower on two cores: waking a thread costs tens of
    // microseconds, and the decoder must never have to wait for room.
    static constexpr int batchRows = 8;
    static constexpr int batches = 3;
    static constexpr int ringRows = batchRows * batches;

    explicit Ahead(Decoder &decoder) : m_decoder(decoder), m_ring(decoder.info.output_width, ringRows)
    {
        m_thread = std::thread([this] { decodeGuarded(); });
    }

    ~Ahead()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_cancelled = true;
        }
        m_roomFreed.notify_one();
        m_thread.join();
    }

    // The next row, valid until the next call; null when there is none or the file is damaged.
    // Rethrows what stopped the decoder's thread (running out of memory).
    const QRgb *next()
    {
        const int wanted = m_reading + 1;
        std::unique_lock lock(m_mutex);
        m_reading = wanted; // the row handed out before is free again
        if (wanted % batchRows == 0)
            m_roomFreed.notify_one();
        m_rowsReady.wait(lock, [&] { return m_decoded > wanted || m_ended; });
        if (m_decoded > wanted)
            return rowAt(wanted);
        if (m_failure)
            std::rethrow_exception(m_failure);
        return nullptr;
    }

    // Lets the decoder's thread read to the end without handing rows out, and waits for it.
    void finish()
    {
        std::unique_lock lock(m_mutex);
        m_draining = true;
        m_roomFreed.notify_one();
        m_rowsReady.wait(lock, [&] { return m_ended; });
        if (m_failure)
            std::rethrow_exception(m_failure);
    }

private:
    QRgb *rowAt(int row) const { return m_ring.row(row % ringRows); }

    void decodeGuarded()
    {
        try {
            decode();
        } catch (...) {
            const std::lock_guard lock(m_mutex);
            m_failure = std::current_exception();
        }
        {
            const std::lock_guard lock(m_mutex);
            m_ended = true;
        }
        m_rowsReady.notify_one();
    }

    void decode()
    {
        for (int first = 0;; first += batchRows) {
            {
                std::unique_lock lock(m_mutex);
                // The row the reader holds, and those after it, must stay.
                m_roomFreed.wait(lock, [&] { return m_cancelled || m_draining || first + batchRows <= m_reading + ringRows; });
                if (m_cancelled)
                    return;
            }
            int good = 0;
            while (good < batchRows && m_decoder.readRow(rowAt(first + good)))
                ++good;
            {
                const std::lock_guard lock(m_mutex);
                m_decoded = first + good;
            }
            m_rowsReady.notify_one();
            if (good < batchRows)
                return;
        }
    }

    Decoder &m_decoder;
    const RowBuffers m_ring;

    std::mutex m_mutex;
    std::condition_variable m_roomFreed; // the decoder's thread waits on it
    std::condition_variable m_rowsReady; // the reader waits on it
    int m_decoded = 0;  // rows written to the ring and handed over
    int m_reading = -1; // the row the reader holds
    bool m_ended = false; // the decoder's thread has stopped touching the decoder
    bool m_draining = false;
    bool m_cancelled = false;
    std::exception_ptr m_failure;
    std::thread m_thread; // last: it starts when everything else is ready
};

std::unique_ptr<JpegRows::Decoder> JpegRows::openDecoder(const QString &path)
{
    auto decoder = std::make_unique<Decoder>();
    decoder->file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!decoder->file || !decoder->start())
        return nullptr;
    return decoder;
}

std::unique_ptr<JpegRows> JpegRows::open(const QString &path)
{
    if constexpr (Q_BYTE_ORDER != Q_LITTLE_ENDIAN)
        return nullptr; // BGRX bytes are a QRgb only on little-endian machines
    if (!isPlainJpeg(path))
        return nullptr;
    auto decoder = openDecoder(path);
    if (!decoder)
        return nullptr;
    std::unique_ptr<JpegRows> rows(new JpegRows(std::move(decoder), path));
    rows->m_readAhead = true;
    return rows;
}

std::unique_ptr<PictureRows> JpegRows::rowsFrom(int firstRow)
{
    if (!m_decoder->file || !m_decoder->oneScan || m_ahead || m_decoder->info.output_scanline > 0)
        return nullptr;
    auto decoder = openDecoder(m_path);
    // The name may stand for another file by now: the lower rows must come from this one.
    if (!decoder || !sameFile(decoder->file, m_decoder->file))
        return nullptr;
    m_readAhead = false;
    std::unique_ptr<JpegRows> lower(new JpegRows(std::move(decoder), m_path));
    lower->m_rowsToSkip = firstRow;
    return lower;
}

JpegRows::JpegRows(std::unique_ptr<Decoder> decoder, const QString &path) : m_decoder(std::move(decoder)), m_path(path) {}

JpegRows::~JpegRows() = default;

QSize JpegRows::size() const { return QSize(int(m_decoder->info.output_width), int(m_decoder->info.output_height)); }

const QRgb *JpegRows::nextRow()
{
    if (!skipRowsAbove())
        return nullptr;
    if (m_readAhead) {
        m_readAhead = false;
        try {
            m_ahead = std::make_unique<Ahead>(*m_decoder);
        } catch (const std::system_error &) {
            // No thread to be had: the rows are read on the caller's thread.
        }
    }
    return m_ahead ? m_ahead->next() : m_decoder->next();
}

// Done by the thread that reads the rows after, since skipping takes a while; false when the file
// turns out damaged there.
bool JpegRows::skipRowsAbove() { return m_rowsToSkip == 0 || m_decoder->skip(std::exchange(m_rowsToSkip, 0)); }

bool JpegRows::stoppedEarly() const { return m_decoder->damaged(); }

bool JpegRows::finish()
{
    if (!skipRowsAbove())
        return false;
    if (m_ahead) {
        m_ahead->finish();
        m_ahead.reset();
    }
    return m_decoder->finish();
}

bool JpegRows::dataIsComplete(QByteArrayView data)
{
    if constexpr (Q_BYTE_ORDER != Q_LITTLE_ENDIAN)
        return false;
    auto decoder = std::make_unique<Decoder>();
    decoder->memory = data;
    return decoder->start() && JpegRows(std::move(decoder), {}).finish();
}
