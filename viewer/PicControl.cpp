#include "viewer/PicControl.h"

#include "viewer/ImagePanel.h"
#include "viewer/PictureSurface.h"
#include "viewer/QtViewerPlatform.h"
#include "viewer/ViewerArithmetic.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

using ViewerArithmetic::buttonCode;

PicControl::PicControl(QWidget *parent, ViewerPlatform *platform)
    : QWidget(parent),
      m_ownPlatform(platform ? nullptr : std::make_unique<QtViewerPlatform>()),
      m_platform(platform ? platform : m_ownPlatform.get())
{
    setObjectName(QStringLiteral("PicControl"));
    e = buildPicControlElements(this);
    resize(274, 257);
    // The keys of the picture come to the control; a click on the picture gives it the focus.
    setFocusPolicy(Qt::StrongFocus);
    for (QWidget *w : std::initializer_list<QWidget *>{e.picFrame, e.picMain}) {
        w->setFocusPolicy(Qt::ClickFocus);
        w->setFocusProxy(this);
    }
    connectElements();
}

PicControl::~PicControl() = default;

void PicControl::connectElements()
{
    connect(e.HScroll1, &QScrollBar::valueChanged, this, &PicControl::HScroll1_Change);
    connect(e.Combo1, &QComboBox::editTextChanged, this, &PicControl::Combo1_Change);
    connect(e.Combo1, &QComboBox::textActivated, this, &PicControl::Combo1_Click);
    connect(e.Combo1->lineEdit(), &QLineEdit::editingFinished, this, &PicControl::Combo1_EditingFinished);
    connect(e.Combo2, &QComboBox::editTextChanged, this, &PicControl::Combo2_Change);
    connect(e.Combo2, &QComboBox::textActivated, this, &PicControl::Combo2_Click);
    connect(e.Combo3, &QComboBox::editTextChanged, this, &PicControl::Combo3_Change);
    connect(e.Combo3, &QComboBox::textActivated, this, &PicControl::Combo3_Click);
    connect(e.tmrScrollLeft, &QTimer::timeout, this, &PicControl::tmrScrollLeft_Timer);
    connect(e.tmrScrollRight, &QTimer::timeout, this, &PicControl::tmrScrollRight_Timer);
    connect(e.tmrScrollUp, &QTimer::timeout, this, &PicControl::tmrScrollUp_Timer);
    connect(e.tmrScrollDown, &QTimer::timeout, this, &PicControl::tmrScrollDown_Timer);
    connect(e.tmrZoom, &QTimer::timeout, this, &PicControl::tmrZoom_Timer);
    connect(e.tmrInsert, &QTimer::timeout, this, &PicControl::tmrInsert_Timer);
    for (QWidget *w : std::initializer_list<QWidget *>{e.picMain, e.picZoom, e.picPosition, e.picInsert})
        w->installEventFilter(this);
    for (ImagePanel *button : e.picButton)
        button->installEventFilter(this);
}

void PicControl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    UserControl_Resize();
}

void PicControl::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A window brought back from the task bar shows its controls again; that is not the host
    // showing the control.
    if (!event->spontaneous())
        UserControl_Show();
}

bool PicControl::insidePaintEvent() const
{
    for (const QWidget *w = this; w; w = w->parentWidget()) {
        if (w->paintingActive())
            return true;
    }
    return false;
}

bool PicControl::DoEvents()
{
    // Events must not run while a widget is being painted, nor while the viewport is frozen for
    // a rebuild; the work simply goes on.
    if (insidePaintEvent() || m_updateLock.isHeld())
        return true;
    const QPointer<PicControl> alive(this);
    m_platform->processEvents();
    return !alive.isNull();
}

void PicControl::releaseCapture()
{
    m_zoomDrag.end();
    m_insertDrag.end();
    if (std::exchange(m_pan.active, false))
        e.picMain->unsetCursor();
    if (QWidget *grabber = QWidget::mouseGrabber(); grabber && isAncestorOf(grabber))
        grabber->releaseMouse();
}

bool PicControl::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        return dispatchMouse(watched, event);
    case QEvent::Wheel:
        if (watched != e.picMain && watched != e.picZoom)
            return false;
        {
            auto *wheel = static_cast<QWheelEvent *>(event);
            m_wheelAngle += wheel->angleDelta();
            const QPoint notches = m_wheelAngle / QWheelEvent::DefaultDeltasPerStep;
            m_wheelAngle -= notches * QWheelEvent::DefaultDeltasPerStep;
            if (wheel->modifiers() & Qt::ControlModifier)
                stepPictureSize(notches.y());
            else
                wheelScroll(notches, wheel->modifiers() & Qt::ShiftModifier);
        }
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

bool PicControl::dispatchMouse(QObject *watched, QEvent *event)
{
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    const int shift = int(mouse->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) >> 25;
    const auto x = float(mouse->position().x());
    const auto y = float(mouse->position().y());
    const int pressed = buttonCode(mouse->button());
    const int held = buttonCode(mouse->buttons());
    const auto drag = [&](ChildDrag &childDrag, Panel &panel, QWidget *parentClient) {
        if (press)
            childDrag.grab(mouse->position());
        if (release && held != 1)
            childDrag.end();
        if (event->type() == QEvent::MouseMove && held == 1)
            childDrag.follow(panel, parentClient->mapFromGlobal(mouse->globalPosition()));
    };

    if (watched == e.picZoom) {
        if (press)
            picZoom_MouseDown(pressed, shift, x, y);
        else if (event->type() == QEvent::MouseMove)
            picZoom_MouseMove(held, shift, x, y);
        drag(m_zoomDrag, *e.picZoom, e.picMain->client());
        return true;
    }
    if (watched == e.picInsert) {
        if (press)
            picInsert_MouseDown(pressed, shift, x, y);
        else if (event->type() == QEvent::MouseMove)
            picInsert_MouseMove(held, shift, x, y);
        drag(m_insertDrag, *e.picInsert, e.picPosition->client());
        return true;
    }
    if (watched == e.picMain) {
        // In the viewport's pixels, which stay put while the picture pans under the pointer.
        const QPointF inView = e.picFrame->client()->mapFromGlobal(mouse->globalPosition());
        if (press)
            picMain_MouseDown(pressed, shift, float(inView.x()), float(inView.y()));
        else if (release)
            picMain_MouseUp(pressed, shift, float(inView.x()), float(inView.y()));
        else
            picMain_MouseMove(held, shift, float(inView.x()), float(inView.y()));
        return true;
    }
    if (event->type() == QEvent::MouseMove && watched == e.picPosition) {
        picPosition_MouseMove(held, shift, x, y);
        return true;
    }
    for (std::size_t i = 0; i < e.picButton.size(); ++i) {
        if (watched != e.picButton[i])
            continue;
        if (press)
            picButton_MouseDown(qint16(i), pressed, shift, x, y);
        else if (release)
            picButton_MouseUp(qint16(i), pressed, shift, x, y);
        return true;
    }
    return false;
}
