#include "engine/text/kinds/internal/TerminalColours.h"

#include "engine/cells/ColourPalettes.h"

#include <QStringList>

using modColour::Colour;

namespace {

// The parameters that set one colour: `base` 38 for characters, 48 for grounds.
QString parametersOf(Colour colour, ColourDepth depth, int base)
{
    switch (depth) {
    case ColourDepth::palette16: {
        const int index = ColourPalettes::nearest16(colour);
        // 30 ... 37 and 90 ... 97 for characters, 40 ... 47 and 100 ... 107 for grounds.
        return QString::number((index < 8 ? base - 8 : base + 52) + index % 8);
    }
    case ColourDepth::palette256:
        return QStringLiteral("%1;5;%2").arg(base).arg(ColourPalettes::nearest256(colour));
    case ColourDepth::none:
    case ColourDepth::truecolour:
        break;
    }
    return QStringLiteral("%1;2;%2;%3;%4").arg(base).arg(modColour::GetRed(colour)).arg(int(modColour::GetGreen(colour))).arg(int(modColour::GetBlue(colour)));
}

} // namespace

namespace TerminalColours {

QString selectFor(Colour cell, ColourDepth depth, ColourLook look)
{
    if (look == ColourLook::characters)
        return QStringLiteral("\x1b[") + parametersOf(cell, depth, 38) + u'm';
    return QStringLiteral("\x1b[") + parametersOf(cell, depth, 48) + u';' + parametersOf(characterColourOf(cell, look, depth), depth, 38) + u'm';
}

std::optional<Selected> read(QStringView parameters)
{
    const QList<QStringView> fields = parameters.split(u';');
    Selected selected;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        bool ok = false;
        const int code = fields[i].isEmpty() ? 0 : fields[i].toInt(&ok);
        if (!fields[i].isEmpty() && !ok)
            return std::nullopt;
        std::optional<Colour> colour;
        const bool ground = code == 48 || (code >= 40 && code <= 47) || (code >= 100 && code <= 107);
        if (code == 0) {
            selected = Selected{std::nullopt, std::nullopt, true};
        } else if ((code == 38 || code == 48) && i + 4 < fields.size() && fields[i + 1] == u"2") {
            colour = modColour::RGB(fields[i + 2].toInt(), fields[i + 3].toInt(), fields[i + 4].toInt());
            i += 4;
        } else if ((code == 38 || code == 48) && i + 2 < fields.size() && fields[i + 1] == u"5") {
            colour = ColourPalettes::colourOf256(std::clamp(fields[i + 2].toInt(), 0, 255));
            i += 2;
        } else if ((code >= 30 && code <= 37) || (code >= 40 && code <= 47)) {
            colour = ColourPalettes::colourOf16(code % 10);
        } else if ((code >= 90 && code <= 97) || (code >= 100 && code <= 107)) {
            colour = ColourPalettes::colourOf16(8 + code % 10);
        } else {
            return std::nullopt;
        }
        if (colour)
            (ground ? selected.background : selected.foreground) = colour;
    }
    return selected;
}

std::vector<Colour> readRow(const QString &line, QString &text, ColourLook &look)
{
    std::vector<Colour> colours;
    Colour foreground = modColour::RGB(0, 0, 0);
    std::optional<Colour> background;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'\x1b' && i + 1 < line.size() && line[i + 1] == u'[') {
            const qsizetype end = line.indexOf(u'm', i + 2);
            if (end < 0)
                break;
            if (const std::optional<Selected> selected = read(QStringView(line).sliced(i + 2, end - i - 2))) {
                if (selected->reset) {
                    foreground = modColour::RGB(0, 0, 0);
                    background.reset();
                }
                foreground = selected->foreground.value_or(foreground);
                background = selected->background ? selected->background : background;
            }
            i = end;
            continue;
        }
        const bool pair = line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate();
        text += QStringView(line).sliced(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
        colours.push_back(background.value_or(foreground));
        if (background)
            look = ColourLook::fills;
    }
    return colours;
}

} // namespace TerminalColours
