#include "cli/TerminalColour.h"

#include <QtGlobal>

ColourDepth autoColourDepth(const QByteArray &noColour, const QByteArray &colorTerm, const QByteArray &term)
{
    if (!noColour.isEmpty())
        return ColourDepth::none;
    const QByteArray says = colorTerm.toLower();
    if (says == "truecolor" || says == "24bit")
        return ColourDepth::truecolour;
    return term.contains("256") ? ColourDepth::palette256 : ColourDepth::palette16;
}

ColourDepth autoColourDepth()
{
    return autoColourDepth(qgetenv("NO_COLOR"), qgetenv("COLORTERM"), qgetenv("TERM"));
}
