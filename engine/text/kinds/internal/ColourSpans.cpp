#include "engine/text/kinds/internal/ColourSpans.h"

#include "engine/text/kinds/internal/ColourRuns.h"

#include <QRegularExpression>

namespace ColourSpans {

QString hex(modColour::Colour colour)
{
    return QStringLiteral("#%1%2%3")
        .arg(modColour::GetRed(colour), 2, 16, QLatin1Char('0'))
        .arg(int(modColour::GetGreen(colour)), 2, 16, QLatin1Char('0'))
        .arg(int(modColour::GetBlue(colour)), 2, 16, QLatin1Char('0'));
}

QString row(const QString &rowText, std::span<const modColour::Colour> colours, const ArtColours &art, QString (*escape)(QStringView))
{
    QString line;
    for (const ColourRun &run : colourRunsOf(rowText, colours)) {
        if (art.look == ColourLook::fills)
            line += QStringLiteral("<span style=\"color:%1;background:%2\">").arg(hex(characterColourOf(run.colour, art.look, art.depth)), hex(run.colour));
        else
            line += QStringLiteral("<span style=\"color:%1\">").arg(hex(run.colour));
        line += escape(run.text) + QStringLiteral("</span>");
    }
    return line;
}

std::optional<Read> read(const QString &line, QString (*unescape)(const QString &))
{
    static const QRegularExpression span(QStringLiteral("<span style=\"color:#([0-9a-f]{6})(?:;background:#([0-9a-f]{6}))?\">(.*?)</span>"));
    Read read;
    qsizetype at = 0;
    for (QRegularExpressionMatchIterator it = span.globalMatch(line); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedStart() != at)
            return std::nullopt;
        at = m.capturedEnd();
        read.filled = m.capturedLength(2) > 0;
        const uint rgb = m.captured(read.filled ? 2 : 1).toUInt(nullptr, 16);
        const modColour::Colour colour = modColour::RGB(int(rgb >> 16), int(rgb >> 8 & 0xFF), int(rgb & 0xFF));
        const QString text = unescape(m.captured(3));
        read.text += text;
        read.colours.insert(read.colours.end(), std::size_t(text.toUcs4().size()), colour);
    }
    if (at == 0 || at != line.size())
        return std::nullopt;
    return read;
}

} // namespace ColourSpans
