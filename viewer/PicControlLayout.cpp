#include "viewer/PicControl.h"

#include "viewer/PictureSurface.h"
#include "viewer/ViewerArithmetic.h"

using ViewerArithmetic::roundEven;

namespace {

constexpr int minimumSide = 250;

} // namespace

// The minimum size is honoured by enlarging the control: a host whose area is smaller clips
// the control's right or bottom part, and the layout is never drawn compressed.
bool PicControl::UserControl_Resize()
{
    m.mCenteredY = false;
    m.mCenteredX = false;
    int W = width();
    int H = height();
    if (W < minimumSide) {
        W = minimumSide;
        resize(minimumSide, height());
    } else if (H < minimumSide) {
        H = minimumSide;
        resize(width(), minimumSide);
    }

    PictureSurface &main = *e.picMain;
    Panel &frame = *e.picFrame;
    frame.Move(1, 1, float(W - 76), float(H) - e.picHolder->Height() - 3);
    if (main.Width() < frame.Width()) {
        const int x = roundEven(frame.Width() / 2.0 - main.Width() / 2.0);
        m.mCenteredX = true;
        if (main.Height() < frame.Height()) {
            const int y = roundEven(frame.Height() / 2.0 - main.Height() / 2.0);
            m.mCenteredY = true;
            main.Move(float(x), float(y));
        } else {
            main.setLeft(float(x));
        }
    } else if (main.Height() < frame.Height()) {
        m.mCenteredY = true;
        main.setTop(float(roundEven(frame.Height() / 2.0 - main.Height() / 2.0)));
    }
    e.picTools->Move(float(W) - e.picTools->Width() - 1, 1);
    e.picHolder->Move(0, float(H) - e.picHolder->Height() - 1, float(W - 78), e.picHolder->Height());

    // A resize queued meanwhile lays the control out inside this run; what follows reads the
    // sizes afresh, so the last size wins.
    if (!DoEvents())
        return false;
    Panel &group = *e.picHolderInsert;
    switch (m.mAlignNavBar) {
    case 0:
        group.setLeft(0);
        break;
    case 1:
        group.setLeft(e.picHolder->Width() - group.Width());
        break;
    case 2:
        group.setLeft(float(e.picHolder->Width() / 2.0 - group.Width() / 2.0));
        break;
    default:
        break;
    }
    if (!DoEvents())
        return false;
    m.mScrollRangeY = roundEven(double(main.Height()) - frame.Height());
    m.mScrollRangeX = roundEven(double(main.Width()) - frame.Width());
    return true;
}
