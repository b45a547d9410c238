#include "engine/text/kinds/internal/ColourSpans.h"

#include "engine/text/kinds/internal/ColourRuns.h"

#include <QRegularExpression>

namespace ColourSpans {

// Written a span at a time for every run of a large page: no formatting on the way.
QString hex(modColour::Colour colour)
{
    static constexpr char digits[] = "0123456789abcdef";
    QString text(7, u'#');
    const int channels[3] = {modColour::GetRed(colour), int(modColour::GetGreen(colour)), int(modColour::GetBlue(colour))};
    for (int i = 0; i < 3; ++i) {
        text[1 + 2 * i] = QLatin1Char(digits[channels[i] >> 4]);
        text[2 + 2 * i] = QLatin1Char(digits[channels[i] & 15]);
    }
    return text;
}

QString row(const QString &rowText, std::span<const modColour::Colour> colours, const ArtColours &art, QString (*escape)(QStringView))
{
    QString line;
    for (const ColourRun &run : colourRunsOf(rowText, colours)) {
        line += QLatin1String("<span style=\"color:");
        if (art.look == ColourLook::fills) {
            line += hex(characterColourOf(run.colour, art.look, art.depth));
            line += QLatin1String(";background:");
        }
        line += hex(run.colour);
        line += QLatin1String("\">");
        line += escape(run.text);
        line += QLatin1String("</span>");
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
