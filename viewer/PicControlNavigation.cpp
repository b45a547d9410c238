#include "viewer/PicControl.h"

#include "viewer/ImagePanel.h"
#include "viewer/PictureSurface.h"

#include <QTimer>

namespace {

enum : qint16 { LeftBottom, RightBottom, Centred, UpperLeft, UpperRight, ScrollLeft, ScrollRight, ScrollUp, ScrollDown, Magnifier };

// One axis of a jump, for a lens that is shown: where the lens goes inside the picture so that
// it keeps its place in the viewport while the picture moves from `view` to its start (0), its
// end (-range) or the middle. A set edge flag means the view is already at that edge.
float carriedLens(bool toStart, bool toEnd, bool &atStart, bool &atEnd, double view, double range, float lens)
{
    if (toEnd) {
        if (!atEnd)
            lens = float(range + view + lens);
        atEnd = true;
        atStart = false;
    } else if (toStart) {
        if (!atStart)
            lens = float(view + lens);
        atStart = true;
        atEnd = false;
    } else {
        lens = float(view + lens + range / 2);
        atStart = false;
        atEnd = false;
    }
    return lens;
}

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


// Moves the view to a corner or the centre, vertically first. A centred axis does not move.
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
    if (!lens.isHidden() && !m.mCenteredY)
        lens.setTop(carriedLens(toTop, toBottom, m.mAtTop, m.mAtBottom, T, RY, lens.Top()));
    if (!lens.isHidden() && !m.mCenteredX)
        lens.setLeft(carriedLens(toLeft, toRight, m.mAtLeft, m.mAtRight, L, RX, lens.Left()));
    if (!m.mCenteredX)
        main.setLeft(float(toLeft ? 0.0 : toRight ? -RX : -RX / 2));
    if (!m.mCenteredY)
        main.setTop(float(toTop ? 0.0 : toBottom ? -RY : -RY / 2));
}
