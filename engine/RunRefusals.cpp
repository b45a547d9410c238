#include "RunRefusals.h"

#include "AxisMapping.h"
#include "PictureLoader.h"

#include <QFileInfo>
#include <cmath>

namespace {

constexpr double maxSide = 32767;

bool outputReplacesSource(const QString &sourcePath, const QString &outputPath)
{
    const QFileInfo output(outputPath);
    return output.exists() && output.canonicalFilePath() == QFileInfo(sourcePath).canonicalFilePath();
}

bool outputCanBeWritten(const QString &outputPath)
{
    const QFileInfo output(outputPath);
    const QFileInfo folder(output.absolutePath());
    if (!folder.isDir() || !folder.isWritable())
        return false;
    return !output.exists() || (output.isFile() && output.isWritable());
}

} // namespace

std::optional<RunResult> refusalOfGeometry(QSize picture, float sizeFactor, CellSize cell)
{
    if (std::isnan(sizeFactor) || sizeFactor == 0.0f)
        return RunResult::PictureTooSmall;
    const double width = scaledLengthOf(picture.width(), sizeFactor);
    const double height = scaledLengthOf(picture.height(), sizeFactor);
    if (picture.width() > maxSide || picture.height() > maxSide || width > maxSide || height > maxSide)
        return RunResult::PictureTooLarge;
    if (width < cell.width || height < cell.height)
        return RunResult::PictureTooSmall;
    return std::nullopt;
}

std::optional<RunResult> refusalBeforeLoading(const RunParameters &p, CellSize cell)
{
    if (p.ramp.isEmpty())
        return RunResult::EmptyRamp;
    if (p.detail == 0)
        return RunResult::NoDetail;
    const std::optional<QSize> size = PictureLoader::peekSize(p.sourcePath);
    if (!size)
        return RunResult::SourceNotLoaded;
    if (outputReplacesSource(p.sourcePath, p.outputPath))
        return RunResult::OutputIsSource;
    if (!outputCanBeWritten(p.outputPath))
        return RunResult::OutputNotSaved;
    return refusalOfGeometry(*size, p.sizeFactor, cell);
}
