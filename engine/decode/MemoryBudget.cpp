#include "engine/decode/MemoryBudget.h"

#include <algorithm>
#include <cmath>

#include <unistd.h>

namespace {

constexpr qint64 mebibyte = qint64(1) << 20;
constexpr qint64 largestStandard = qint64(2) << 30;

} // namespace

QString MemoryBudget::Exceeded::cause() const
{
    // Rounded up, so that a picture over the budget never reads as fitting it.
    const auto inMebibytes = [](double bytes) { return QString::number(std::ceil(bytes / double(mebibyte)), 'f', 0); };
    return QStringLiteral("decoding it takes %1 MiB, more than the %2 MiB allowed").arg(inMebibytes(m_needed), inMebibytes(double(m_allowed)));
}

MemoryBudget MemoryBudget::standard()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES), pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0)
        return MemoryBudget(largestStandard);
    return MemoryBudget(std::min(largestStandard, qint64(pages) * pageSize / 2));
}
