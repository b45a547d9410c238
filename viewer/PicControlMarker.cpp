#include "viewer/PicControl.h"

#include "viewer/ImagePanel.h"
#include "viewer/PictureSurface.h"
#include "viewer/ViewerArithmetic.h"

#include <QTimer>

using ViewerArithmetic::hasTravel;
using ViewerArithmetic::roundEven;

namespace {

// How far along its scroll range the view is, in whole percent. A range of 0 leaves nothing to
// scroll: the marker stays at the start of its travel.
int viewPercent(qint32 range, float position) { return range == 0 ? 0 : roundEven(100.0 / range * -double(position)); }

} // namespace

// The marker moves in hundredths of its travel to mirror the view.
void PicControl::UpdatePositionMarker()
{
    const int vertical = viewPercent(m.mScrollRangeY, e.picMain->Top());
    const int horizontal = viewPercent(m.mScrollRangeX, e.picMain->Left());
    e.picInsert->setTop(float(markerTravelY() / 100.0 * vertical));
    e.picInsert->setLeft(float(markerTravelX() / 100.0 * horizontal));
}

void PicControl::picInsert_MouseDown(int Button, int, float, float)
{
    if (Button == 1)
        e.tmrInsert->start();
}

// The left button alone drags the marker; the mouse stays with the marker until it is let go.
void PicControl::picInsert_MouseMove(int Button, int, float, float)
{
    if (Button == 1)
        m_insertDrag.begin();
}

void PicControl::picPosition_MouseMove(int, int, float, float) { e.tmrInsert->stop(); }

// Keeps the marker inside the overview and sets the view from where it is.
void PicControl::tmrInsert_Timer()
{
    ImagePanel &insert = *e.picInsert;
    if (!confine(insert, e.picPosition->Width() - insert.Width() - 2, e.picPosition->Height() - insert.Height() - 2))
        return;
    PaintInsertMarker();
    const float travelY = markerTravelY();
    const float travelX = markerTravelX();
    const auto percentY = hasTravel(travelY) ? float(100.0 / travelY * insert.Top()) : 0.0f;
    const auto percentX = hasTravel(travelX) ? float(100.0 / travelX * insert.Left()) : 0.0f;
    if (hasTravel(travelY))
        e.picMain->setTop(float(-(m.mScrollRangeY / 100.0 * percentY)));
    if (hasTravel(travelX))
        e.picMain->setLeft(float(-(m.mScrollRangeX / 100.0 * percentX)));
}
