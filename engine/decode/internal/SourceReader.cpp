#include "engine/decode/internal/SourceReader.h"

#include "engine/decode/SourceFile.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Qt refuses pictures above 128 MB by default (about 32 megapixels). The conversion takes
// pictures up to 32767 pixels a side, 4 bytes a pixel, so the limit is raised to that.
constexpr int allocationLimitMegabytes = 4200;

// The source's own descriptor, read as Qt reads a file (its decoders read a file slightly otherwise
// than a buffer). Once a stop is requested its next read fails, which ends a decoder that has no
// other way of being told to stop.
class SourceDevice : public QFile
{
public:
    explicit SourceDevice(const SourceFile &source) : m_source(source)
    {
        // The descriptor's offset is where the reader before left it.
        if (open(source.descriptor(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
            seek(0);
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override { return m_source.stopRequested() ? -1 : QFile::readData(data, maxSize); }
    qint64 readLineData(char *data, qint64 maxSize) override
    {
        return m_source.stopRequested() ? -1 : QFile::readLineData(data, maxSize);
    }

private:
    const SourceFile &m_source;
};

} // namespace

SourceReader::SourceReader(const SourceFile &source) : m_device(std::make_unique<SourceDevice>(source))
{
    QImageReader::setAllocationLimit(std::max(QImageReader::allocationLimit(), allocationLimitMegabytes));
    // A file opened by its descriptor has no name, so the choice Qt makes for a named file is made
    // here: the decoder of the name's suffix when it takes the contents, else one chosen by them.
    // Qt rewinds the file after asking the suffix's decoder, and so does this; a GIF decoder asked
    // twice then fails on a file whose signature is wrong, as it does when Qt opens the file.
    const QByteArray suffix = QFileInfo(source.path()).suffix().toLower().toLatin1();
    if (source.isOpen() && !suffix.isEmpty()) {
        m_reader.emplace(m_device.get(), suffix);
        m_reader->setAutoDetectImageFormat(false);
        if (!m_reader->canRead())
            m_reader.reset();
        m_device->seek(0);
    }
    if (!m_reader)
        m_reader.emplace(m_device.get());
    m_reader->setAutoTransform(true);
}

SourceReader::~SourceReader() = default;

bool SourceReader::readsJpeg()
{
    // Named by the suffix, the reader gives the suffix's name for the format.
    const QByteArray format = m_reader->format();
    return format == "jpeg" || format == "jpg";
}
