// The completeness checks over fuzzed bytes, and the JPEG decoding one of them may need.
#include "engine/decode/internal/FileCompleteness.h"
#include "engine/decode/internal/JpegDecoder.h"
#include "engine/text/FileChecks.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArrayView data(bytes, qsizetype(size));
    const MemoryBudget budget(qint64(64) << 20);
    jpegReachesEndMarker(data);
    pngReachesEndChunk(data);
    gifHoldsWholeBlocks(data);
    bmpHoldsAllRows(data);
    iconHoldsAllImages(data);
    FileChecks::descriptorNamedBy(QString::fromLatin1(data));
    try {
        pictureFileIsWhole(data, {}, budget);
        // A stopped check never passes a file it has not read to its end.
        StopSource stopped;
        stopped.request_stop();
        if (JpegDecoder::dataIsComplete(data, stopped.get_token(), budget))
            std::abort();
    } catch (const std::bad_alloc &) {
        // Over the budget, or out of memory: refused as the callers refuse it.
    }
    return 0;
}
