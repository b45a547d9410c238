#pragma once

#include <QImageReader>
#include <memory>
#include <optional>

class QIODevice;
class SourceFile;

// Qt's picture reader over a source file, as its one open gave it, turning photos upright by their
// EXIF orientation. Reads fail once the source's stop is requested. The readers of one source share
// its descriptor's offset, so only one of them may be alive at a time; `source` must outlive it.
class SourceReader
{
public:
    explicit SourceReader(const SourceFile &source);
    ~SourceReader();

    QImageReader &reader() { return *m_reader; }
    // Whether the reader takes the file as a JPEG.
    bool readsJpeg();

private:
    std::unique_ptr<QIODevice> m_device;
    std::optional<QImageReader> m_reader; // after the device, which it reads
};
