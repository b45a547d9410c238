#include "PicControl.h"

#include "ImagePanel.h"
#include "PictureSurface.h"

#include <QTimer>

namespace {

enum : qint16 { LeftBottom, RightBottom, Centred, UpperLeft, UpperRight, ScrollLeft, ScrollRight, ScrollUp, ScrollDown, Magnifier };

} // namespace

void PicControl::picButton_MouseDown(qint16 Index, int, int, float, float)
{
    if (Index < 0 || Index > Magnifier)
        return;
    e.picButton[std::size_t(Index)]->setImage(e.picDown[std::size_t(Index)]);
    e.tmrZoom->stop();
    e.tmrInsert->stop();
    switch (Index) {
    case ScrollLeft: e.tmrScrollLeft->start(); break;
    case ScrollRight: e.tmrScrollRight->start(); break;
    case ScrollUp: e.tmrScrollUp->start(); break;
    case ScrollDown: e.tmrScrollDown->start(); break;
    default: break;
    }
}

void PicControl::picButton_MouseUp(qint16 Index, int, int, float, float)
{
    if (Index < 0 || Index > Magnifier)
        return;
    e.picButton[std::size_t(Index)]->setImage(e.picUp[std::size_t(Index)]);
    switch (Index) {
    case ScrollLeft: e.tmrScrollLeft->stop(); break;
    case ScrollRight: e.tmrScrollRight->stop(); break;
    case ScrollUp: e.tmrScrollUp->stop(); break;
    case ScrollDown: e.tmrScrollDown->stop(); break;
    case Magnifier:
        if (!e.picMain->hasPicture())
            return;
        e.picZoom->hide();
        UpdateLens();
        break;
    default:
        jump(Index);
        break;
    }
    if (!e.picZoom->isHidden())
        UpdateLens();
    UpdatePositionMarker();
}

// Moves the view to a corner or the centre. A shown lens is first shifted inside the picture by
// as much as the picture is about to move, so that it keeps its place in the viewport; a set edge
// flag means the view is already at that edge and needs no shift.
void PicControl::jump(qint16 Index)
{
    PictureSurface &main = *e.picMain;
    ImagePanel &lens = *e.picZoom;
    const double L = main.Left();
    const double T = main.Top();
    const double RX = m.mScrollRangeX;
    const double RY = m.mScrollRangeY;
    const bool toBottom = Index == LeftBottom || Index == RightBottom;
    const bool toTop = Index == UpperLeft || Index == UpperRight;
    const bool toLeft = Index == LeftBottom || Index == UpperLeft;
    const bool toRight = Index == RightBottom || Index == UpperRight;

    if (!lens.isHidden() && !m.mCenteredY) {
        if (toBottom) {
            if (!m.mAtBottom)
                lens.setTop(float(RY + T + lens.Top()));
            m.mAtBottom = true;
            m.mAtTop = false;
        } else if (toTop) {
            if (!m.mAtTop)
                lens.setTop(float(T + lens.Top()));
            m.mAtTop = true;
            m.mAtBottom = false;
        } else {
            lens.setTop(float(T + lens.Top() + RY / 2));
            m.mAtTop = false;
            m.mAtBottom = false;
        }
    }
    if (!lens.isHidden() && !m.mCenteredX) {
        if (toLeft) {
            if (!m.mAtLeft)
                lens.setLeft(float(L + lens.Left()));
            m.mAtLeft = true;
            m.mAtRight = false;
        } else if (toRight) {
            if (!m.mAtRight)
                lens.setLeft(float(RX + L + lens.Left()));
            m.mAtRight = true;
            m.mAtLeft = false;
        } else {
            lens.setLeft(float(L + lens.Left() + RX / 2));
            m.mAtLeft = false;
            m.mAtRight = false;
        }
    }
    if (!m.mCenteredX)
        main.setLeft(float(toLeft ? 0.0 : toRight ? -RX : -RX / 2));
    if (!m.mCenteredY)
        main.setTop(float(toTop ? 0.0 : toBottom ? -RY : -RY / 2));
}
