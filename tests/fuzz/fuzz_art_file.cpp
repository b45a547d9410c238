// The art reader over a fuzzed file, named as each kind's files are.
#include "engine/text/ArtFile.h"
#include "engine/text/OutputKinds.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace Qt::Literals::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    QByteArrayView data(bytes, qsizetype(size));
    const quint32 options = Fuzz::takeOptions(data);
    static const QStringList extensions = kindExtensions();
    readArtFile(Fuzz::scratchFile(u"art."_s + extensions[qsizetype(options % quint32(extensions.size()))], data));
    return 0;
}
