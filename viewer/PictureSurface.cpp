#include "viewer/PictureSurface.h"

#include <QPainter>

PictureSurface::PictureSurface(QWidget *parent, const QString &name, Border border) : Panel(parent, name, border)
{
    // Every pixel is painted, background or picture: nothing beneath needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureSurface::setPicture(const QImage &picture)
{
    m_picture = picture.isNull() || picture.format() == QImage::Format_RGB32 ? picture
                                                                              : picture.convertToFormat(QImage::Format_RGB32);
    if (hasPicture()) {
        const int b = borderWidth();
        setWidth(float(m_picture.width() + 2 * b));
        setHeight(float(m_picture.height() + 2 * b));
    }
    update();
}

const ScaledPicture &PictureSurface::scaled()
{
    m_scaled.set(m_picture, clientSize());
    return m_scaled;
}

QImage PictureSurface::imageRegion(const QRect &area)
{
    QImage region(area.size(), QImage::Format_RGB32);
    region.fill(OleColors::resolve(BackColor(), palette()));
    if (!hasPicture())
        return region;
    const QRect drawn = area & QRect(QPoint(0, 0), clientSize());
    if (!drawn.isEmpty()) {
        QPainter painter(&region);
        painter.drawImage(drawn.topLeft() - area.topLeft(), scaled().render(drawn));
    }
    return region;
}

void PictureSurface::paintContent(QPainter &painter, const QRect &exposed)
{
    if (hasPicture())
        painter.drawImage(exposed.topLeft(), scaled().render(exposed));
}
