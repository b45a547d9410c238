#include "viewer/ImagePanel.h"

#include <QPainter>

void ImagePanel::setImage(const QImage &image)
{
    m_image = image;
    update();
}

void ImagePanel::paintContent(QPainter &painter, const QRect &)
{
    if (!m_image.isNull())
        painter.drawImage(QPoint(0, 0), m_image);
}
