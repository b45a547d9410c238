#include "viewer/PicControl.h"

#include "viewer/Panel.h"
#include "viewer/ViewerArithmetic.h"
#include "viewer/ViewerPlatform.h"

using ViewerArithmetic::roundEven;

// A dragged panel may overshoot its room. The pointer is pushed back by exactly the overshoot,
// so it stays over the same point of the panel while the panel is held at the edge, and then
// the panel is put flush with the edge.
bool PicControl::confine(Panel &child, float roomX, float roomY)
{
    QPoint pointer = m_platform->cursorPos();
    const float T = child.Top();
    if (T < 0 || T > roomY) {
        pointer.setY(roundEven(pointer.y() - (T < 0 ? double(T) : double(T) - roomY)));
        m_platform->setCursorPos(pointer);
    }
    const float L = child.Left();
    if (L < 0 || L > roomX) {
        pointer.setX(roundEven(pointer.x() - (L < 0 ? double(L) : double(L) - roomX)));
        m_platform->setCursorPos(pointer);
    }
    if (!DoEvents())
        return false;
    if (child.Top() < 0)
        child.setTop(0);
    else if (child.Top() > roomY)
        child.setTop(roomY);
    if (child.Left() < 0)
        child.setLeft(0);
    else if (child.Left() > roomX)
        child.setLeft(roomX);
    return true;
}
