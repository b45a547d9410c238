#pragma once

#include "viewer/Panel.h"

#include <QImage>

// A panel showing an image of its own at its client area's top-left corner, unscaled: the
// overview, the marker, the lens and the navigation buttons. An image made for a high-density
// screen (device pixel ratio 2) is shown at its logical size.
class ImagePanel : public Panel
{
    Q_OBJECT

public:
    using Panel::Panel;

    void setImage(const QImage &image);
    const QImage &image() const { return m_image; }

protected:
    void paintContent(QPainter &painter, const QRect &exposed) override;

private:
    QImage m_image;
};
