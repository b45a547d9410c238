#pragma once

#include "bench/likeness/Plane.h"
#include "engine/text/ArtFile.h"

#include <QString>
#include <QStringList>
#include <optional>

// The art in `path`: a text, RTF or HTML file this program wrote, read back as the program reads
// it; or, with `plainText`, another converter's UTF-8 text, one row a line (LF or CR LF), which
// records no detail. Nothing when the file cannot be read or holds no rows.
std::optional<ArtFile> readArt(const QString &path, bool plainText);

// The columns of the art: those of its longest row, a character outside 16 bits counted once.
int columnsOf(const QStringList &rows);

// `rows` drawn black on white as the program draws them at the cell of `detail`, as linear
// luminance; an empty plane when there is nothing to draw.
Plane drawnLuminance(const QStringList &rows, quint8 detail);

// Art in colour drawn as the program draws it (on black with `darkGround`), one channel of it
// (0 red, 1 green, 2 blue) in linear light; an empty plane when there is nothing to draw.
Plane drawnChannel(const ArtFile &art, quint8 detail, int channel);
