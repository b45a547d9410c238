#pragma once

#include "engine/cells/ArtColours.h"

#include <QString>
#include <optional>
#include <vector>

// The escape sequences (SGR) that colour text on a terminal.
namespace TerminalColours {

// The sequence that sets a cell of colour `cell`: its character's colour, and on a fill also
// the cell's ground, by the art's depth (38;2;R;G;B, 38;5;N or one of the 16).
QString selectFor(modColour::Colour cell, ColourDepth depth, ColourLook look);

// What ends each row: every colour reset.
inline const QString reset = QStringLiteral("\x1b[0m");

// What a sequence read back sets: the character's colour, the ground's, and whether it resets.
struct Selected
{
    std::optional<modColour::Colour> foreground;
    std::optional<modColour::Colour> background;
    bool reset = false;
};
// The parameters of one sequence, between "\x1b[" and "m", as selectFor() and other programs
// write them; nothing for parameters it does not know.
std::optional<Selected> read(QStringView parameters);

// A line of text with such sequences: its characters into `text`, and each one's cell colour (the
// ground's where a sequence set one, which makes `look` fills); a sequence it does not know is
// left out, and a character before any colour is black.
std::vector<modColour::Colour> readRow(const QString &line, QString &text, ColourLook &look);

} // namespace TerminalColours
