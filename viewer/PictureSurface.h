#pragma once

#include "viewer/Panel.h"
#include "viewer/ScaledPicture.h"

#include <QImage>

// The picture surface: shows its picture stretched over its whole client area. Only the part in
// view is ever drawn, straight from the picture, so the surface costs no memory of its own
// however large it is made.
class PictureSurface : public Panel
{
    Q_OBJECT

public:
    PictureSurface(QWidget *parent, const QString &name, Border border);

    // Takes `picture` and, unless it is empty, sizes itself to it plus its border: to its size in
    // the window's pixels, for a picture of a device pixel ratio above 1.
    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }
    // The picture handle is not 0.
    bool hasPicture() const { return !m_picture.isNull(); }

    // The surface's drawn pixels in `area` (client coordinates): the picture stretched over the
    // client area, and the background colour wherever the picture is not.
    QImage imageRegion(const QRect &area);

protected:
    void paintContent(QPainter &painter, const QRect &exposed) override;

private:
    const ScaledPicture &scaled();

    QImage m_picture;
    ScaledPicture m_scaled;       // at the window's pixels: what is copied into the lens
    ScaledPicture m_deviceScaled; // at the screen's, when they are denser
};
