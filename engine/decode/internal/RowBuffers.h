#pragma once

#include <QRgb>
#include <cstddef>
#include <memory>
#include <new>

// Rows for a JPEG decoder to write into, each starting 16 bytes past a 64-byte cache line. The
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
