#include "viewer/PicControl.h"

#include "viewer/ImagePanel.h"
#include "viewer/PictureSurface.h"

#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>

void PicControl::tmrScrollLeft_Timer() { scrollTick(e.tmrScrollLeft, true, +1); }
void PicControl::tmrScrollRight_Timer() { scrollTick(e.tmrScrollRight, true, -1); }
void PicControl::tmrScrollUp_Timer() { scrollTick(e.tmrScrollUp, false, +1); }
void PicControl::tmrScrollDown_Timer() { scrollTick(e.tmrScrollDown, false, -1); }

// The mouse wheel scrolls as the scroll buttons do, a step a notch: down and up, or across with
// Shift held or on a wheel that tilts.
void PicControl::wheelScroll(QPoint notches, bool across)
{
    const int down = across ? 0 : notches.y();
    const int sideways = across ? (notches.x() != 0 ? notches.x() : notches.y()) : notches.x();
    for (int i = 0; i < std::abs(down); ++i)
        scrollTick(nullptr, false, down > 0 ? +1 : -1);
    for (int i = 0; i < std::abs(sideways); ++i)
        scrollTick(nullptr, true, sideways > 0 ? +1 : -1);
}

// A page keeps a tenth of the viewport in view from the one before.
float PicControl::pageStep(bool horizontal) const
{
    const float side = horizontal ? e.picFrame->Width() : e.picFrame->Height();
    return std::max(1.0f, std::floor(side * 0.9f));
}

// One step of the picture surface by the scroll speed: +1 moves it right or down (the view
// towards the left or top edge), -1 the other way. The lens takes the full step back, even on
// the tick that stops short at the edge.
void PicControl::scrollTick(QTimer *timer, bool horizontal, int direction, float step)
{
    if (step <= 0)
        step = m.mScrollSpeed;
    if (horizontal ? m.mCenteredX : m.mCenteredY)
        return;
    PictureSurface &main = *e.picMain;
    ImagePanel &lens = *e.picZoom;
    const auto position = [&](const Panel &p) { return horizontal ? p.Left() : p.Top(); };
    const auto place = [&](Panel &p, float value) { horizontal ? p.setLeft(value) : p.setTop(value); };
    const float edge = direction > 0 ? 0.0f : float(-(horizontal ? m.mScrollRangeX : m.mScrollRangeY));
    if (position(main) == edge)
        return;
    place(main, position(main) + float(direction) * step);
    place(lens, position(lens) - float(direction) * step);
    if (direction > 0 ? position(main) > edge : position(main) < edge) {
        place(main, edge);
        if (timer)
            timer->stop();
    }
    if (!lens.isHidden())
        UpdateLens();
    UpdatePositionMarker();
}
