#pragma once

#include "engine/cells/ArtColours.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// A character-art file read back: the rows as the run assembled them, and the detail when the
// file records it (RTF and pages always, text and HTML in their font reminder).
struct ArtFile
{
    QStringList rows;
    std::optional<quint8> detail;
    // For art in colour: each character's cell colour, as wide as the longest row (white past
    // the end of a shorter one), and whether its ground is black; empty otherwise.
    ArtColours colours;
    bool darkGround = false;
};

// The art of a file this program wrote, read as a kind whose files have its extension (the one
// its extension chooses when writing, or a page for an HTML name), in UTF-8 when its bytes are
// UTF-8 and in Windows-1252 otherwise; nothing for a missing file or one that is not such art.
std::optional<ArtFile> readArtFile(const QString &path);

// A detail a file records, when it is one a run could have written: 1 to 255 points.
std::optional<quint8> recordedDetail(int points);

// For a kind's reader: the colours of each row read, one a character, into `art` when any row
// has them; a row without them is white.
void setColours(ArtFile &art, const std::vector<std::vector<modColour::Colour>> &rowColours);
