#include "ReferenceModel.h"

#include "CellBox.h"
#include "CellGreys.h"
#include "DocumentLines.h"
#include "OutputKind.h"
#include "PictureFile.h"
#include "RampBands.h"
#include "ScaledPicture.h"
#include "Windows1252Lines.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <exception>

namespace {

// Loop counters of the conversion are 16-bit.
constexpr int largestSide = 32767;

ReferenceResult refuse(const QString &why)
{
    return ReferenceResult{QByteArray(), why, QString()};
}

bool sameFile(const QString &source, const QString &outputName)
{
    const QString canonicalOutput = QFileInfo(outputName).canonicalFilePath();
    return !canonicalOutput.isEmpty() && canonicalOutput == QFileInfo(source).canonicalFilePath();
}

QStringList rowTexts(const GreyRows &greys, const RampBands &bands)
{
    QStringList rows;
    for (const std::vector<int> &greyRow : greys) {
        QString text;
        for (const int grey : greyRow)
            text += bands.characterFor(grey);
        rows.append(text);
    }
    return rows;
}

ReferenceResult convert(const QString &source, const QString &outputName, const QString &ramp, float size, quint8 detail,
                        bool reminder)
{
    if (detail == 0)
        return refuse(QStringLiteral("detail 0 measures no cell"));
    if (size == 0.0f)
        return refuse(QStringLiteral("size 0 leaves no picture"));
    if (ramp.isEmpty())
        return refuse(QStringLiteral("empty ramp"));
    if (sameFile(source, outputName))
        return refuse(QStringLiteral("output is the source"));
    if (!QFileInfo(outputName).absoluteDir().exists())
        return refuse(QStringLiteral("output folder missing"));

    const std::optional<PixelArray> picture = readPictureFile(source);
    if (!picture)
        return refuse(QStringLiteral("source not loaded"));
    if (picture->width() > largestSide || picture->height() > largestSide)
        return refuse(QStringLiteral("source over 32767 pixels on a side"));

    const bool scaling = size != 1.0f && size > 0.0f;
    if (scaling && (scaledLength(picture->width(), size) > largestSide || scaledLength(picture->height(), size) > largestSide))
        return refuse(QStringLiteral("scaled picture over 32767 pixels on a side"));
    const PixelArray worked = scaling ? scaledPicture(*picture, size) : *picture;

    const CellBox cell = cellBoxForDetail(detail);
    if (worked.width() / cell.width == 0 || worked.height() / cell.height == 0)
        return refuse(QStringLiteral("no whole cell"));

    const QStringList rows = rowTexts(cellGreys(worked, cell), RampBands(ramp));
    const OutputKind kind = outputKindFor(outputName);
    return ReferenceResult{windows1252Lines(documentLines(kind, detail, reminder && kind != OutputKind::RichText, rows)), {}, {}};
}

} // namespace

ReferenceResult referenceOutput(const QString &source, const QString &outputName, const QString &ramp, float size,
                                quint8 detail, bool reminder)
{
    try {
        return convert(source, outputName, ramp, size, detail, reminder);
    } catch (const std::exception &fault) {
        return ReferenceResult{QByteArray(), QString(), QString::fromLocal8Bit(fault.what())};
    }
}
