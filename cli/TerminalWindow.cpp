#include "cli/TerminalWindow.h"

#include "cli/CommandLine.h"
#include "cli/TerminalColour.h"
#include "engine/text/OutputKinds.h"

#include <QByteArray>
#include <cmath>
#include <langinfo.h>
#include <sys/ioctl.h>

TerminalWindow terminalWindowOf(int descriptor)
{
    TerminalWindow window;
    winsize size = {};
    if (::ioctl(descriptor, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        window.columns = size.ws_col;
        if (size.ws_xpixel > 0 && size.ws_ypixel > 0 && size.ws_row > 0) {
            window.cellPixels = CellSize{int(std::lround(double(size.ws_xpixel) / size.ws_col)),
                                         int(std::lround(double(size.ws_ypixel) / size.ws_row))};
        }
        return window;
    }
    bool ok = false;
    const int columns = qEnvironmentVariableIntValue("COLUMNS", &ok);
    if (ok && columns > 0)
        window.columns = columns;
    return window;
}

CellSize terminalCell(const TerminalWindow &window, CellSize detailCell)
{
    if (window.cellPixels && window.cellPixels->width > 0 && window.cellPixels->height > 0)
        return *window.cellPixels;
    return {detailCell.width, 2 * detailCell.width};
}

TextEncoding localeEncoding()
{
    const QByteArray codeSet = QByteArray(nl_langinfo(CODESET)).toUpper();
    const bool latin1 = codeSet == "ISO-8859-1" || codeSet == "ISO-8859-15" || codeSet == "CP1252";
    return latin1 ? TextEncoding::Windows1252 : TextEncoding::Utf8;
}

void fitToTerminal(CliRequest &request, const TerminalWindow &window)
{
    RunParameters &p = request.parameters;
    if (p.outputKind && p.outputKind != outputKinds().first())
        return;
    p.rowsOnly = true;
    if (request.colourAuto)
        p.colour = autoColourDepth();
    if (!request.encodingGiven)
        p.encoding = localeEncoding();
    if (!p.samplingCell)
        p.samplingCell = terminalCell(window, cellSizeFor(p.detail));
    if (!request.sizeGiven && !request.columns) {
        request.columns = window.columns;
        request.columnsFromTerminal = true;
    }
}
