#include "PicControl.h"

#include "ImagePanel.h"
#include "PictureSurface.h"

#include <QTimer>

void PicControl::tmrScrollLeft_Timer() { scrollTick(e.tmrScrollLeft, true, +1); }
void PicControl::tmrScrollRight_Timer() { scrollTick(e.tmrScrollRight, true, -1); }
void PicControl::tmrScrollUp_Timer() { scrollTick(e.tmrScrollUp, false, +1); }
void PicControl::tmrScrollDown_Timer() { scrollTick(e.tmrScrollDown, false, -1); }

// One step of the picture surface by the scroll speed: +1 moves it right or down (the view
// towards the left or top edge), -1 the other way. The lens takes the full step back, even on
// the tick that stops short at the edge.
void PicControl::scrollTick(QTimer *timer, bool horizontal, int direction)
{
    if (horizontal ? m.mCenteredX : m.mCenteredY)
        return;
    PictureSurface &main = *e.picMain;
    ImagePanel &lens = *e.picZoom;
    const auto position = [&](const Panel &p) { return horizontal ? p.Left() : p.Top(); };
    const auto place = [&](Panel &p, float value) { horizontal ? p.setLeft(value) : p.setTop(value); };
    const float edge = direction > 0 ? 0.0f : float(-(horizontal ? m.mScrollRangeX : m.mScrollRangeY));
    if (position(main) == edge)
        return;
    place(main, position(main) + float(direction * m.mScrollSpeed));
    place(lens, position(lens) - float(direction * m.mScrollSpeed));
    if (direction > 0 ? position(main) > edge : position(main) < edge) {
        place(main, edge);
        timer->stop();
    }
    if (!lens.isHidden())
        UpdateLens();
    UpdatePositionMarker();
}
