#pragma once

#include "engine/cells/CellMetrics.h"
#include "engine/text/LineFormat.h"

#include <optional>

struct CliRequest;

// What a terminal tells of its window: how many characters wide it is and, when it knows, the
// size of its cells in pixels.
struct TerminalWindow
{
    int columns = 80;
    std::optional<CellSize> cellPixels;
};

// The window of the terminal on `descriptor`: its size as the terminal reports it, else as wide
// as $COLUMNS says, else 80 columns.
TerminalWindow terminalWindowOf(int descriptor);

// The cell a picture is cut into for the terminal: the terminal's own when it reports one, else
// one of the detail cell's width and twice as high, a terminal cell being about 1 : 2.
CellSize terminalCell(const TerminalWindow &window, CellSize detailCell);

// The code page of the locale's text, of the two the converter writes: UTF-8, unless the locale
// names a Latin-1 code page, which Windows-1252 matches.
TextEncoding localeEncoding();

// Plain text bound for the terminal `window` is written as a terminal shows text: the rows
// alone, with LF line ends, in the locale's code page unless --encoding was given, in the colour
// the environment says the terminal shows unless --colour was given; cut into the
// terminal's cells unless --cell was; as wide as the window unless --size or --columns says
// otherwise. Any other kind is written as it would be to a file.
void fitToTerminal(CliRequest &request, const TerminalWindow &window);
