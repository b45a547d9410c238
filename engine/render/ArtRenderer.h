#pragma once

#include "engine/cells/ArtColours.h"
#include "engine/cells/CellMetrics.h"

#include <QImage>
#include <QStringList>

// Draws character art as a picture: black characters on white, each centred in its own cell of
// the detail's cell size at its row and column, so nothing drifts however long a row is.
namespace ArtRenderer {

// The picture of `rows` at the cell of `detail`: as wide as the longest row, as high as the
// rows, in Format_Grayscale8. A null image when there is nothing to draw or it is too large.
// At a `scale` above 1 each cell has that many times the pixels a side, the characters drawn at
// that size rather than enlarged, and the picture's device pixel ratio is `scale`, so that a
// screen of that density shows it at the art's own size with crisp characters.
QImage render(const QStringList &rows, quint8 detail, qreal scale = 1);

// The same in colour, in Format_RGB32: each character in its cell's colour (`colours` holding one
// a character) on white, or on black with `darkGround`; or with filled cells, each cell in its
// colour and its character in the darker shade, at `scale` as above. Empty `colours` draw as
// render(rows, detail, scale).
QImage render(const QStringList &rows, quint8 detail, const ArtColours &colours, bool darkGround, qreal scale = 1);

// The installed monospace face whose advance is closest to the cell's 0.6 em.
QString fontFamily();

} // namespace ArtRenderer
