// The ramp list reader over fuzzed bytes: the list reads back as saved, and each of its ramps
// bands every grey, darker greys with darker characters and the lightest with its first.
#include "engine/cells/CharacterMapping.h"
#include "engine/text/RampFile.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

bool bandsEveryGrey(const QString &ramp)
{
    const RampTables tables = buildRampTables(ramp);
    if (tables.rampChar.empty())
        return ramp.isEmpty();
    return std::is_sorted(tables.bandOfGrey.begin(), tables.bandOfGrey.end()) && tables.bandOfGrey[0] >= 0
        && tables.bandOfGrey[255] == qsizetype(tables.rampChar.size()) - 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QStringList ramps = RampFile::parse(QByteArrayView(bytes, qsizetype(size)));
    if (!RampFile::write(Fuzz::scratchPath(u"Formats.TXT"_s), ramps) || RampFile::read(Fuzz::scratchPath(u"Formats.TXT"_s)) != ramps)
        std::abort();
    for (const QString &ramp : ramps) {
        if (!bandsEveryGrey(ramp))
            std::abort();
    }
    return 0;
}
