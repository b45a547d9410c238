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
        // A picture drawn for a denser screen takes the room of its own size at one pixel per pixel.
        const QSizeF size = m_picture.deviceIndependentSize();
        const int b = borderWidth();
        setWidth(float(size.width() + 2 * b));
        setHeight(float(size.height() + 2 * b));
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
    if (!hasPicture())
        return;
    const qreal ratio = devicePixelRatioF();
    if (ratio == 1) {
        painter.drawImage(exposed.topLeft(), scaled().render(exposed));
        return;
    }
    // On a denser screen the picture is stretched to the screen's pixels, not enlarged after
    // being stretched to the window's, so a picture drawn at that density shows every pixel.
    const QSize client = clientSize();
    m_deviceScaled.set(m_picture, QSize(qRound(client.width() * ratio), qRound(client.height() * ratio)));
    const QRect device = QRectF(QPointF(exposed.topLeft()) * ratio, QSizeF(exposed.size()) * ratio).toAlignedRect();
    QImage part = m_deviceScaled.render(device);
    part.setDevicePixelRatio(ratio);
    painter.drawImage(QPointF(device.topLeft()) / ratio, part);
}
