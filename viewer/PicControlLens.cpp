#include "viewer/PicControl.h"

#include "viewer/ImagePanel.h"
#include "viewer/PictureSurface.h"

#include <QTimer>

void PicControl::picZoom_MouseDown(int Button, int, float, float)
{
    if (Button == 1) {
        e.tmrZoom->start();
        DoEvents();
        return;
    }
    e.picZoom->hide();
    e.tmrZoom->stop();
}

// The left button alone drags the lens; the mouse stays with the lens until it is let go.
void PicControl::picZoom_MouseMove(int Button, int, float, float)
{
    if (Button == 1)
        m_zoomDrag.begin();
}

void PicControl::picMain_MouseMove(int Button, int, float X, float Y)
{
    e.tmrZoom->stop();
    e.tmrInsert->stop();
    if (m_pan.active && (Button & 1))
        panTo(QPointF(X, Y));
}

// Keeps the lens wholly on the picture and repaints it.
void PicControl::tmrZoom_Timer()
{
    const PictureSurface &main = *e.picMain;
    ImagePanel &lens = *e.picZoom;
    if (confine(lens, main.Width() - lens.Width(), main.Height() - lens.Height()))
        UpdateLens();
}
