#pragma once

#include "FakeViewerPlatform.h"
#include "ImagePanel.h"
#include "PicControl.h"
#include "PictureSurface.h"

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

// A picture whose every pixel tells where it came from: red and green are x and y modulo 256,
// blue their multiples of 256.
inline QImage tracedPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x & 255, y & 255, (x >> 8) | (y >> 8) << 4));
    }
    return picture;
}

// A new control at `size` in a shown (offscreen) host window, with the platform double.
struct ViewerFixture
{
    FakeViewerPlatform platform;
    QWidget host;
    PicControl *control = nullptr;

    explicit ViewerFixture(QSize size = {400, 300})
    {
        QCoreApplication::setApplicationName(QStringLiteral("Glyphsmith"));
        host.resize(1200, 900);
        control = new PicControl(&host, &platform);
        control->UserControl_InitProperties();
        control->resize(size);
        host.show();
    }
    const PicControlElements &e() const { return control->elements(); }
    const PicControlState &m() const { return control->state(); }
};

// Sends a mouse event to `widget` at `local`, as the pointer at that place would.
inline void sendMouse(QWidget *widget, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(local), QPointF(widget->mapToGlobal(local)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}
