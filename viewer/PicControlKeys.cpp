#include "viewer/PicControl.h"

#include "viewer/ImagePanel.h"
#include "viewer/PictureSurface.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

namespace {

enum : qint16 { RightBottom = 1, Centred = 2, UpperLeft = 3, ScrollLeft = 5, ScrollRight = 6, ScrollUp = 7, ScrollDown = 8 };

constexpr int shiftHeld = 1;
constexpr int ctrlHeld = 2;

int shiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? shiftHeld : 0) | (modifiers & Qt::ControlModifier ? ctrlHeld : 0);
}

// Keeps a position of the picture surface between the end of its scroll range and 0.
float clampedToRange(double position, qint32 range) { return float(std::min(0.0, std::max(-double(range), position))); }

} // namespace

void PicControl::keyPressEvent(QKeyEvent *event)
{
    if (picMain_KeyDown(event->key(), shiftCode(event->modifiers())))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

bool PicControl::picMain_KeyDown(int KeyCode, int Shift)
{
    if (!e.picMain->hasPicture())
        return false;
    const bool across = Shift & shiftHeld;
    switch (KeyCode) {
    case Qt::Key_Left: holdButton(ScrollLeft, [this] { tmrScrollLeft_Timer(); }); return true;
    case Qt::Key_Right: holdButton(ScrollRight, [this] { tmrScrollRight_Timer(); }); return true;
    case Qt::Key_Up: holdButton(ScrollUp, [this] { tmrScrollUp_Timer(); }); return true;
    case Qt::Key_Down: holdButton(ScrollDown, [this] { tmrScrollDown_Timer(); }); return true;
    case Qt::Key_PageUp:
        holdButton(across ? ScrollLeft : ScrollUp, [this, across] {
            scrollTick(across ? e.tmrScrollLeft : e.tmrScrollUp, across, +1, pageStep(across));
        });
        return true;
    case Qt::Key_PageDown:
        holdButton(across ? ScrollRight : ScrollDown, [this, across] {
            scrollTick(across ? e.tmrScrollRight : e.tmrScrollDown, across, -1, pageStep(across));
        });
        return true;
    case Qt::Key_Home: holdButton(Shift & ctrlHeld ? Centred : UpperLeft, {}); return true;
    case Qt::Key_End: holdButton(RightBottom, {}); return true;
    // "=" is "+" without Shift on many keyboards.
    case Qt::Key_Plus:
    case Qt::Key_Equal: stepPictureSize(+1); return true;
    case Qt::Key_Minus: stepPictureSize(-1); return true;
    default: return false;
    }
}

void PicControl::holdButton(qint16 Index, const std::function<void()> &whileHeld)
{
    picButton_MouseDown(Index, 1, 0, 0, 0);
    if (whileHeld)
        whileHeld();
    picButton_MouseUp(Index, 1, 0, 0, 0);
}

void PicControl::stepPictureSize(int steps)
{
    if (!e.picMain->hasPicture())
        return;
    QScrollBar &size = *e.HScroll1;
    size.setValue(std::clamp(size.value() + steps, size.minimum(), size.maximum()));
}

void PicControl::picMain_MouseDown(int Button, int, float X, float Y)
{
    if (Button != 1)
        return;
    m_pan = {true, QPointF(X, Y), QPointF(e.picMain->Left(), e.picMain->Top())};
    e.picMain->setCursor(Qt::ClosedHandCursor);
}

void PicControl::picMain_MouseUp(int Button, int, float, float)
{
    if (Button != 1 || !m_pan.active)
        return;
    m_pan.active = false;
    e.picMain->unsetCursor();
}

// The picture follows the pointer as far as it can scroll; a centred axis stays put. The lens
// rides on the picture, and the marker follows, as for the scroll buttons.
void PicControl::panTo(QPointF pointer)
{
    const QPointF to = m_pan.from + (pointer - m_pan.grab);
    PictureSurface &main = *e.picMain;
    if (!m.mCenteredX)
        main.setLeft(clampedToRange(to.x(), m.mScrollRangeX));
    if (!m.mCenteredY)
        main.setTop(clampedToRange(to.y(), m.mScrollRangeY));
    if (!e.picZoom->isHidden())
        UpdateLens();
    UpdatePositionMarker();
}
