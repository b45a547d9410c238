#include "resources/artwork/ViewerBackgrounds.h"

#include <QImage>

namespace {

// The tools panel carries black labels, so its shades stay within a few steps of white. The
// image is stretched about 13 times down the panel, so it is a smooth ramp with no texture
// to smear, and its ends differ by only about twenty levels so even an unsmoothed stretch
// shows no bands.
const QColor toolsTopLeft(226, 235, 248);
const QColor toolsBottomRight(250, 252, 255);
// Mostly top to bottom, with a little left to right so the panel does not look flat.
constexpr qreal toolsDown = 0.75;

// The navigation strip: a lit top edge, a band darkening towards the bottom, and a soft
// lower edge, each edge one logical pixel.
const QColor navbarHighlight(252, 253, 255);
const QColor navbarTop(240, 245, 252);
const QColor navbarBottom(218, 229, 245);
const QColor navbarEdge(190, 206, 231);

qreal lerp(qreal a, qreal b, qreal t) { return a + (b - a) * t; }

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(float(lerp(a.redF(), b.redF(), t)), float(lerp(a.greenF(), b.greenF(), t)),
                            float(lerp(a.blueF(), b.blueF(), t)));
}

QColor tools(int x, int y, const QSize &size)
{
    const qreal across = (x + 0.5) / size.width();
    const qreal down = (y + 0.5) / size.height();
    return mix(toolsTopLeft, toolsBottomRight, toolsDown * down + (1 - toolsDown) * across);
}

QColor navbar(int y, int scale, int rows)
{
    if (y < scale)
        return navbarHighlight;
    if (y >= rows - scale)
        return navbarEdge;
    return mix(navbarTop, navbarBottom, qreal(y - scale) / (rows - 2 * scale - 1));
}

} // namespace

namespace ViewerBackgrounds {

QImage paint(Panel panel, int scale)
{
    if (scale != 1 && scale != 2)
        return {};
    QImage image(width * scale, height * scale, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixelColor(x, y, panel == Panel::Tools ? tools(x, y, image.size())
                                                            : navbar(y, scale, image.height()));
        }
    }
    return image;
}

} // namespace ViewerBackgrounds
