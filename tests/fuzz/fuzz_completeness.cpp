// The completeness checks over fuzzed bytes, and the JPEG decoding one of them may need.
#include "engine/decode/internal/FileCompleteness.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArrayView data(bytes, qsizetype(size));
    const MemoryBudget budget(qint64(64) << 20);
    jpegReachesEndMarker(data);
    pngReachesEndChunk(data);
    gifHoldsWholeBlocks(data);
    bmpHoldsAllRows(data);
    iconHoldsAllImages(data);
    try {
        if (!Fuzz::isLargeJpeg(data))
            pictureFileIsWhole(data, {}, budget);
    } catch (const std::bad_alloc &) {
        // Over the budget, or out of memory: refused as the callers refuse it.
    }
    return 0;
}
