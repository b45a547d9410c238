#pragma once

#include "viewer/ChildDrag.h"
#include "viewer/OleColor.h"
#include "viewer/PicControlElements.h"
#include "viewer/PicControlState.h"
#include "viewer/UpdateLock.h"

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <utility>

class Panel;
class PropertyBag;
class ViewerPlatform;

// A picture viewer: a viewport showing one picture at eight picture sizes, a tools panel with an
// overview whose marker mirrors the view and scrolls it when dragged, a navigation bar of ten
// buttons and a magnifying lens. Knows nothing of its host: it talks through its properties, the
// propertyChanged signal and a property bag.
class PicControl : public QWidget
{
    Q_OBJECT
    // Changes are reported by propertyChanged, with the property's bag key.
    Q_PROPERTY(qint32 AlignNavBar READ AlignNavBar WRITE setAlignNavBar)
    Q_PROPERTY(qint32 Appearance READ Appearance WRITE setAppearance)
    Q_PROPERTY(OleColor BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(qint32 BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(qint32 LenzSize READ LenzSize WRITE setLenzSize)
    Q_PROPERTY(qint32 Magnify READ Magnify WRITE setMagnify)
    Q_PROPERTY(QImage Picture READ Picture WRITE setPicture)
    Q_PROPERTY(qint16 ScrollSpeed READ ScrollSpeed WRITE setScrollSpeed)
    Q_PROPERTY(QString TipTextMagnifier READ TipTextMagnifier WRITE setTipTextMagnifier)
    Q_PROPERTY(QString TipTextPicView READ TipTextPicView WRITE setTipTextPicView)

public:
    // Without a platform the control uses the desktop's own; one given must outlive the control.
    // The host then either runs UserControl_InitProperties (a new control) or
    // UserControl_ReadProperties (one restored from its stored set, whose defaults are
    // PicControlStoredDefaults).
    explicit PicControl(QWidget *parent = nullptr, ViewerPlatform *platform = nullptr);
    ~PicControl() override;

    qint32 AlignNavBar() const { return m.mAlignNavBar; }
    void setAlignNavBar(qint32 value);
    qint32 Appearance() const { return m.mAppearance; }
    // False when the picture surface refuses the value (anything but 0 or 1).
    bool setAppearance(qint32 value);
    OleColor BackColor() const;
    void setBackColor(OleColor value);
    qint32 BorderStyle() const { return m.mBorderStyle; }
    // False when the picture surface refuses the value (anything but 0 or 1).
    bool setBorderStyle(qint32 value);
    qint32 LenzSize() const { return m.mLenzSize; }
    void setLenzSize(qint32 value);
    // The magnification rounded to a whole number, halves to even.
    qint32 Magnify() const;
    void setMagnify(qint32 value);
    // The picture the surface shows; an empty image for none.
    QImage Picture() const;
    void setPicture(const QImage &picture);
    qint16 ScrollSpeed() const { return m.mScrollSpeed; }
    void setScrollSpeed(qint16 value);
    QString TipTextMagnifier() const;
    void setTipTextMagnifier(const QString &value);
    QString TipTextPicView() const;
    void setTipTextPicView(const QString &value);

    // The host's background colour: the default of a stored BackColor.
    OleColor AmbientBackColor() const { return m_ambientBackColor; }
    void setAmbientBackColor(OleColor colour) { m_ambientBackColor = colour; }

    void UserControl_InitProperties();
    void UserControl_ReadProperties(const PropertyBag &bag);
    void UserControl_WriteProperties(PropertyBag &bag) const;
    // Runs when the host shows the control.
    void UserControl_Show();

signals:
    // A property took a new value and the host's stored set needs saving; `key` is its bag key.
    void propertyChanged(const QString &key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class PicControlTestAccess;

    // Lays the control out for its present size. False when the control was destroyed while
    // pending events ran; the caller must then not touch it.
    bool UserControl_Resize();

    void HScroll1_Change();
    void ApplyPictureSize();
    void RenderPicture();
    void DrawThumbnail();
    void PaintInsertMarker();
    void UpdateLens();

    void Combo1_Change();
    void Combo1_Click();
    void Combo1_EditingFinished();
    void Combo2_Change();
    void Combo2_Click();
    void Combo3_Change();
    void Combo3_Click();
    void ApplyLensSize(const qint32 &index);
    void RefreshLensTip();

    // `Button` is 1 left, 2 right, 4 middle; `Shift` the keyboard state; X and Y the pointer
    // in the element's own pixels.
    void picButton_MouseDown(qint16 Index, int Button, int Shift, float X, float Y);
    void picButton_MouseUp(qint16 Index, int Button, int Shift, float X, float Y);

    void tmrScrollLeft_Timer();
    void tmrScrollRight_Timer();
    void tmrScrollUp_Timer();
    void tmrScrollDown_Timer();

    // The keys of the picture: each does what the navigation button or the picture-size step it
    // stands for does. `Shift` holds 1 for Shift and 2 for Ctrl. False for a key left to others.
    bool picMain_KeyDown(int KeyCode, int Shift);
    // A click of navigation button `Index` with `whileHeld` run between its press and release.
    void holdButton(qint16 Index, const std::function<void()> &whileHeld);
    // Steps the picture size by `steps`, within the first and the last step.
    void stepPictureSize(int steps);
    // A left press on the picture grabs it; moving the pointer then pans the view, within the
    // scroll ranges, until the button is let go. X and Y are in the viewport's pixels.
    void picMain_MouseDown(int Button, int Shift, float X, float Y);
    void picMain_MouseUp(int Button, int Shift, float X, float Y);
    void panTo(QPointF pointer);

    void picZoom_MouseDown(int Button, int Shift, float X, float Y);
    // `Button` is the set of buttons held.
    void picZoom_MouseMove(int Button, int Shift, float X, float Y);
    // X and Y in the viewport's pixels.
    void picMain_MouseMove(int Button, int Shift, float X, float Y);
    void tmrZoom_Timer();

    void UpdatePositionMarker();
    void picInsert_MouseDown(int Button, int Shift, float X, float Y);
    void picInsert_MouseMove(int Button, int Shift, float X, float Y);
    void picPosition_MouseMove(int Button, int Shift, float X, float Y);
    void tmrInsert_Timer();

    void connectElements();
    // Lets pending events run, except inside a paint event. False when the control was destroyed
    // meanwhile.
    bool DoEvents();
    bool insidePaintEvent() const;
    void releaseCapture();
    // Keeps a dragged child within its room, the pointer with it. False when the control was
    // destroyed meanwhile.
    bool confine(Panel &child, float roomX, float roomY);
    float markerTravelX() const;
    float markerTravelY() const;
    void centreMarkerOnCentredAxes();
    void setViewFromMarker(float leftOffset);
    void bringUpLensOnPicture();
    bool dispatchMouse(QObject *watched, QEvent *event);
    // `timer`, if any, stops when the step reaches the edge. `step` pixels, or the scroll speed.
    void scrollTick(QTimer *timer, bool horizontal, int direction, float step = 0);
    // Most of the viewport along one axis, what a page key scrolls by.
    float pageStep(bool horizontal) const;
    // Whole wheel notches, positive up or left.
    void wheelScroll(QPoint notches, bool across);
    void jump(qint16 Index);

    std::unique_ptr<ViewerPlatform> m_ownPlatform;
    ViewerPlatform *m_platform;
    PicControlElements e;
    PicControlState m;
    UpdateLock m_updateLock;
    ChildDrag m_zoomDrag;
    ChildDrag m_insertDrag;
    QPoint m_wheelAngle; // wheel turns not yet a whole notch, from fine-grained wheels and pads
    // A pan under way: where the pointer grabbed the picture, in screen pixels, and where the
    // picture was then.
    struct Pan
    {
        bool active = false;
        QPointF grab;
        QPointF from;
    } m_pan;
    OleColor m_ambientBackColor = OleColors::buttonFace;
    using ThumbnailKey = std::pair<qint64, QSize>;
    ThumbnailKey m_thumbnailOf;
};
