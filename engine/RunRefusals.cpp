#include "engine/RunRefusals.h"

#include "engine/cells/AxisMapping.h"
#include "engine/decode/PictureLoader.h"
#include "engine/decode/SourceFile.h"
#include "engine/text/FileChecks.h"
#include "engine/text/NameBytes.h"

#include <cmath>
#include <filesystem>

#include <unistd.h>

namespace {

constexpr double maxSide = 32767;

// Why the output cannot be written, checked before the picture is decoded; nothing when it can.
std::optional<QString> outputProblem(const QString &outputPath)
{
    if (FileChecks::isStream(outputPath))
        return std::nullopt;
    // By the name's bytes, which need not be text.
    std::error_code error;
    const std::filesystem::path output = std::filesystem::absolute(NameBytes::toPath(outputPath), error).lexically_normal();
    const std::filesystem::path folder = output.parent_path();
    if (!std::filesystem::is_directory(folder, error))
        return QStringLiteral("No such folder");
    if (FileChecks::isSpecialFile(outputPath))
        return QStringLiteral("not a regular file");
    if (::access(folder.c_str(), W_OK) != 0 || (std::filesystem::exists(output, error) && ::access(output.c_str(), W_OK) != 0))
        return QStringLiteral("Permission denied");
    return std::nullopt;
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

std::optional<RunOutcome> refusalBeforeLoading(const RunParameters &p, CellSize cell, const SourceFile &source)
{
    if (p.ramp.isEmpty())
        return RunOutcome{RunResult::EmptyRamp};
    if (p.detail == 0)
        return RunOutcome{RunResult::NoDetail};
    QString whyNot;
    const std::optional<QSize> size = PictureLoader::peekSize(source, &whyNot);
    if (!size)
        return RunOutcome::concerning(RunResult::SourceNotLoaded, p.sourcePath, whyNot);
    // The file read may no longer be the one its name gives.
    if (FileChecks::sameFile(p.sourcePath, p.outputPath) || source.isNamedBy(p.outputPath))
        return RunOutcome{RunResult::OutputIsSource};
    if (const std::optional<QString> problem = outputProblem(p.outputPath))
        return RunOutcome::concerning(RunResult::OutputNotSaved, p.outputPath, *problem);
    if (const std::optional<RunResult> refusal = refusalOfGeometry(*size, p.sizeFactor, cell))
        return RunOutcome{*refusal};
    return std::nullopt;
}

std::optional<RunOutcome> refusalOfSecondOutput(const QString &sourcePath, const QString &path)
{
    if (FileChecks::sameFile(sourcePath, path))
        return RunOutcome{RunResult::OutputIsSource};
    // A picture is written whole and then moved into place, which a stream cannot take.
    if (FileChecks::isStream(path))
        return RunOutcome::concerning(RunResult::OutputNotSaved, path, QStringLiteral("not a regular file"));
    if (const std::optional<QString> problem = outputProblem(path))
        return RunOutcome::concerning(RunResult::OutputNotSaved, path, *problem);
    return std::nullopt;
}
