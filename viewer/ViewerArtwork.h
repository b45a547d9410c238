#pragma once

#include <QCursor>
#include <QImage>
#include <QPixmap>

// The control's own artwork, drawn for normal and high-density screens.
namespace ViewerArtwork {

enum class Face { Design, Up, Down };

// The 17 x 17 face of navigation button `index` (0..9); at a device pixel ratio above 1 the
// image has twice the pixels and that ratio.
QImage buttonFace(Face face, int index, qreal devicePixelRatio);
// "tools" or "navbar".
QPixmap background(const QString &name, qreal devicePixelRatio);
// The hand carried by the lens and the marker, its hot spot at (9, 11).
QCursor handCursor(qreal devicePixelRatio);

} // namespace ViewerArtwork
