#include "JpegRows.h"

#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <new>

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

// One decoded row, starting 16 bytes past a 64-byte cache line. The decoder writes a row that
// starts on 32 bytes with stores that bypass the cache, and the row is read straight back; where
// the heap happened to put it made a run fast or slow, with nothing more than the length of the
// output file's name. 16 bytes past a line also keeps 16-byte loads within one line.
class RowBuffer
{
public:
    void resize(std::size_t pixels)
    {
        m_storage.reset(static_cast<unsigned char *>(::operator new[](pixels * sizeof(QRgb) + offset, std::align_val_t(line))));
    }
    QRgb *data() { return reinterpret_cast<QRgb *>(m_storage.get() + offset); }

private:
    static constexpr std::size_t line = 64;
    static constexpr std::size_t offset = 16;
    struct Free
    {
        void operator()(unsigned char *storage) const { ::operator delete[](storage, std::align_val_t(line)); }
    };
    std::unique_ptr<unsigned char[], Free> m_storage;
};

} // namespace

struct JpegRows::Decoder
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    std::FILE *file = nullptr; // read from the file, or else from `memory`
    QByteArrayView memory;
    bool created = false;
    bool everyScanRead = false; // the scans read are all the picture has
    RowBuffer row;

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
        const bool oneScan = !info.progressive_mode && info.comps_in_scan == info.num_components;
        info.out_color_space = JCS_EXT_BGRX; // read as a QRgb on little-endian machines
        // A file of several scans is read whole here, so its scans can be judged now.
        jpeg_start_decompress(&info);
        everyScanRead = oneScan || (info.progressive_mode && everyCoefficientRefined());
        row.resize(info.output_width);
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

    const QRgb *next()
    {
        if (damaged() || info.output_scanline >= info.output_height)
            return nullptr;
        if (setjmp(errors.jump)) {
            if (info.err->msg_code == JERR_OUT_OF_MEMORY)
                throw std::bad_alloc();
            return nullptr;
        }
        auto *samples = reinterpret_cast<JSAMPROW>(row.data());
        jpeg_read_scanlines(&info, &samples, 1);
        // Reading on to the end marker tells whether the file stops short after its last row.
        if (info.output_scanline == info.output_height)
            jpeg_finish_decompress(&info);
        return damaged() ? nullptr : row.data();
    }
};

std::unique_ptr<JpegRows> JpegRows::open(const QString &path)
{
    if constexpr (Q_BYTE_ORDER != Q_LITTLE_ENDIAN)
        return nullptr; // BGRX bytes are a QRgb only on little-endian machines
    if (!isPlainJpeg(path))
        return nullptr;
    auto decoder = std::make_unique<Decoder>();
    decoder->file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!decoder->file || !decoder->start())
        return nullptr;
    return std::unique_ptr<JpegRows>(new JpegRows(std::move(decoder)));
}

JpegRows::JpegRows(std::unique_ptr<Decoder> decoder) : m_decoder(std::move(decoder)) {}

JpegRows::~JpegRows() = default;

QSize JpegRows::size() const { return QSize(int(m_decoder->info.output_width), int(m_decoder->info.output_height)); }

const QRgb *JpegRows::nextRow() { return m_decoder->next(); }

bool JpegRows::stoppedEarly() const { return m_decoder->damaged(); }

bool JpegRows::finish()
{
    while (m_decoder->next()) {
    }
    return !m_decoder->damaged() && m_decoder->info.output_scanline == m_decoder->info.output_height;
}

bool JpegRows::dataIsComplete(QByteArrayView data)
{
    if constexpr (Q_BYTE_ORDER != Q_LITTLE_ENDIAN)
        return false;
    auto decoder = std::make_unique<Decoder>();
    decoder->memory = data;
    return decoder->start() && JpegRows(std::move(decoder)).finish();
}
