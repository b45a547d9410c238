#include "resources/artwork/HandCursor.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <algorithm>
#include <array>

namespace {

// At 1x every pixel is placed by hand: k outline, w fill, anything else transparent.
const std::array<const char *, 19> pixels1x{
    "........kk",
    ".....kkkwwkkk",
    "....kwwkwwkwwk",
    "....kwwkwwkwwkkk",
    "....kwwkwwkwwkwwk",
    "....kwwkwwkwwkwwk",
    "....kwwkwwkwwkwwk",
    ".kk.kwwkwwkwwkwwk",
    "kwwkkwwkwwkwwkwwk",
    "kwwwkwwkwwkwwkwwk",
    "kwwwkwwwwwwwwwwwk",
    ".kwwwwwwwwwwwwwwk",
    ".kwwwwwwwwwwwwwwk",
    "..kwwwwwwwwwwwwwk",
    "..kwwwwwwwwwwwwwk",
    "...kwwwwwwwwwwwk",
    "....kwwwwwwwwwwk",
    "....kwwwwwwwwwwk",
    "....kkkkkkkkkkkk",
};

QImage paint1x()
{
    QImage image(HandCursor::side, HandCursor::side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < int(pixels1x.size()); ++y) {
        for (int x = 0; pixels1x[std::size_t(y)][x] != '\0'; ++x) {
            switch (pixels1x[std::size_t(y)][x]) {
            case 'k': image.setPixelColor(x, y, Qt::black); break;
            case 'w': image.setPixelColor(x, y, Qt::white); break;
            default: break;
            }
        }
    }
    return image;
}

// The same hand at 2x, drawn as outlines through the middles of the 1x outline pixels (in
// logical pixels) so the two sizes line up, with round finger tips the 1x grid cannot show.
struct Finger {
    qreal left = 0;
    qreal top = 0;
};
constexpr qreal fingerWidth = 3;
constexpr qreal palmTop = 10;
constexpr std::array fingers{Finger{4.5, 1.5}, Finger{7.5, 0.5}, Finger{10.5, 1.5}, Finger{13.5, 3.5}};

QPainterPath silhouette()
{
    QPainterPath hand;
    hand.setFillRule(Qt::WindingFill);
    for (const Finger &finger : fingers) {
        hand.addRoundedRect(QRectF(finger.left, finger.top, fingerWidth, palmTop + 2 - finger.top), fingerWidth / 2,
                            fingerWidth / 2);
    }
    QPainterPath palm;
    palm.moveTo(4.5, palmTop - 1);
    palm.lineTo(16.5, palmTop - 1);
    palm.lineTo(16.5, 14.5);
    palm.lineTo(15.5, 15.5);
    palm.lineTo(15.5, 18.5);
    palm.lineTo(4.5, 18.5);
    palm.lineTo(4.5, 16.5);
    palm.lineTo(1.5, 12.5);
    palm.closeSubpath();
    hand.addPath(palm);
    // The thumb leans out a little to the upper left from the side of the palm.
    QPainterPath thumbLine(QPointF(2.0, 8.8));
    thumbLine.lineTo(4.0, 12.5);
    QPainterPathStroker thumb;
    thumb.setWidth(fingerWidth);
    thumb.setCapStyle(Qt::RoundCap);
    hand.addPath(thumb.createStroke(thumbLine));
    return hand.simplified();
}

QImage paint2x()
{
    constexpr int scale = 2;
    QImage image(HandCursor::side * scale, HandCursor::side * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    QPen outline(Qt::black, 1.0);
    outline.setJoinStyle(Qt::RoundJoin);
    painter.setPen(outline);
    painter.setBrush(Qt::white);
    painter.drawPath(silhouette());
    // The fingers part down to the palm, the thumb only a little below the index finger's root.
    outline.setCapStyle(Qt::FlatCap);
    painter.setPen(outline);
    for (std::size_t i = 1; i < fingers.size(); ++i)
        painter.drawLine(QPointF(fingers[i].left, std::max(fingers[i].top, fingers[i - 1].top) + 1.5),
                         QPointF(fingers[i].left, palmTop));
    painter.drawLine(QPointF(fingers[0].left, 8.5), QPointF(fingers[0].left, palmTop + 0.5));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

namespace HandCursor {

QImage paint(int scale)
{
    if (scale == 1)
        return paint1x();
    if (scale == 2)
        return paint2x();
    return {};
}

} // namespace HandCursor
