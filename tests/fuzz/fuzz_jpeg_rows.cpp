// The JPEG row readers over a fuzzed file: the rows one decoder reads ahead on a thread of its
// own, against the same rows read by an upper and a lower reader at once. Both must give the
// same pixels and both find the same file whole or damaged.
#include "engine/decode/internal/JpegRows.h"
#include "engine/decode/SourceFile.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

// Whether every row of `rows` equals the reference's, read alongside; rows are compared until
// either reader fails, and then the reference must fail too.
bool agree(PictureRows &reference, PictureRows &upper, PictureRows *lower, int firstRow)
{
    const QSize size = reference.size();
    for (int y = 0; y < size.height(); ++y) {
        const QRgb *expected = reference.nextRow();
        const QRgb *row = (lower && y >= firstRow ? *lower : upper).nextRow();
        if (!expected || !row)
            return !expected && !row;
        if (!std::equal(row, row + size.width(), expected))
            return false;
    }
    return reference.finish() == (lower ? lower : &upper)->finish();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    QByteArrayView data(bytes, qsizetype(size));
    const quint32 options = Fuzz::takeOptions(data);
    const QString path = Fuzz::scratchFile(u"photo.jpg"_s, data);
    const MemoryBudget budget(qint64(64) << 20);
    try {
        const SourceFile once(path), twice(path);
        const std::unique_ptr<JpegRows> reference = JpegRows::open(once, budget), upper = JpegRows::open(twice, budget);
        if (!reference || !upper || Fuzz::isLargeJpeg(data))
            return 0;
        const int firstRow = int(options % quint32(reference->size().height() + 1));
        const std::unique_ptr<PictureRows> lower = options >> 31 ? upper->rowsFrom(firstRow) : nullptr;
        if (!agree(*reference, *upper, lower.get(), firstRow))
            std::abort();
    } catch (const std::bad_alloc &) {
        // Over the budget, or out of memory: refused as a run refuses it.
    }
    return 0;
}
