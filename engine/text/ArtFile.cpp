#include "engine/text/ArtFile.h"

#include "engine/text/OutputKind.h"
#include "engine/text/OutputKinds.h"

#include <QFile>
#include <algorithm>

namespace {

// Art files are small; anything larger is not one of ours.
constexpr qint64 largestArtFile = 256 * 1024 * 1024;

std::optional<ArtFile> readAs(const OutputKind &kind, const QString &text, TextEncoding encoding)
{
    QStringList lines = text.split(QString::fromLatin1(kind.lineFormat(encoding).lineEnd));
    const QStringList trailer = kind.trailer();
    // Every line ends in a line end, so the split leaves an empty piece after the last one.
    if (lines.size() < trailer.size() + 1 || !lines.last().isEmpty())
        return std::nullopt;
    lines.removeLast();
    if (lines.mid(lines.size() - trailer.size()) != trailer)
        return std::nullopt;
    lines.resize(lines.size() - trailer.size());
    std::optional<ArtFile> art = kind.read(lines);
    if (!art || art->rows.isEmpty())
        return std::nullopt;
    return art;
}

} // namespace

std::optional<ArtFile> readArtFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > largestArtFile)
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    // Windows-1252 text beyond ASCII is hardly ever UTF-8 as well, so bytes that are UTF-8 were
    // written as UTF-8.
    const std::optional<QString> utf8 = Utf8::decode(bytes);
    const QString text = utf8 ? *utf8 : Windows1252::decode(bytes);
    for (const OutputKind *kind : kindsReading(path)) {
        if (std::optional<ArtFile> art = readAs(*kind, text, utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252))
            return art;
    }
    return std::nullopt;
}

std::optional<quint8> recordedDetail(int points)
{
    return points >= 1 && points <= 255 ? std::optional(quint8(points)) : std::nullopt;
}

void setColours(ArtFile &art, const std::vector<std::vector<modColour::Colour>> &rowColours)
{
    std::size_t columns = 0;
    for (const QString &row : std::as_const(art.rows))
        columns = std::max(columns, std::size_t(row.toUcs4().size()));
    if (std::all_of(rowColours.begin(), rowColours.end(), [](const auto &row) { return row.empty(); }))
        return;
    art.colours.cells = CellGrid<modColour::Colour>(int(columns), int(rowColours.size()));
    std::fill(art.colours.cells.cells.begin(), art.colours.cells.cells.end(), modColour::RGB(255, 255, 255));
    for (std::size_t r = 0; r < rowColours.size(); ++r)
        std::copy_n(rowColours[r].begin(), std::min(columns, rowColours[r].size()), art.colours.cells.cells.begin() + std::ptrdiff_t(r * columns));
    art.colours.depth = ColourDepth::truecolour;
}
