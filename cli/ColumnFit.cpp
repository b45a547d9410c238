#include "cli/ColumnFit.h"

#include "engine/cells/AxisMapping.h"
#include "engine/decode/PictureLoader.h"

#include <charconv>

std::optional<QString> fitColumns(RunParameters &parameters, int columns, const SourceFile &source)
{
    const std::optional<QSize> size = PictureLoader::peekSize(source);
    if (!size)
        return std::nullopt;
    const int cellWidth = samplingCellOf(parameters).width;
    const std::optional<float> factor = sizeFactorForCells(size->width(), columns, cellWidth);
    if (!factor) {
        return QStringLiteral("%1: no size factor cuts its %2 pixels into %3 columns of %4 pixels")
            .arg(parameters.sourcePath).arg(size->width()).arg(columns).arg(cellWidth);
    }
    parameters.sizeFactor = *factor;
    return std::nullopt;
}

QString columnsNote(const RunParameters &parameters, int columns)
{
    // The shortest digits that read back as the same float, so that --size gives the same art.
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, parameters.sizeFactor).ptr;
    return QStringLiteral("%1: %2 columns with --size %3").arg(parameters.sourcePath).arg(columns).arg(QLatin1String(digits, end));
}
