// The art reader over a fuzzed file, named as each kind's files are.
#include "engine/text/ArtFile.h"
#include "engine/text/OutputKinds.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    QByteArrayView data(bytes, qsizetype(size));
    const quint32 options = Fuzz::takeOptions(data);
    static const QStringList extensions = kindExtensions();
    const QString name = u"art."_s + extensions[qsizetype(options % quint32(extensions.size()))];
    const std::optional<ArtFile> art = readArtFile(Fuzz::scratchFile(name, data));
    // Art read back has rows, and a detail only as a run can write it.
    if (art && (art->rows.isEmpty() || art->detail == 0))
        std::abort();
    return 0;
}
