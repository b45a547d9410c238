#include "viewer/PicControl.h"

#include "viewer/ImagePanel.h"
#include "viewer/PicControlStoredDefaults.h"
#include "viewer/PictureSurface.h"
#include "viewer/PropertyBag.h"
#include "viewer/ViewerArithmetic.h"

#include <QComboBox>
#include <QScrollBar>
#include <algorithm>

using ViewerArithmetic::roundEven;
namespace Stored = PicControlStoredDefaults;

namespace {

constexpr qint16 slowestSpeed = 10;
constexpr qint16 fastestSpeed = 400;
constexpr int designStep = 2;

} // namespace

void PicControl::setAlignNavBar(qint32 value)
{
    m.mAlignNavBar = value;
    emit propertyChanged(QStringLiteral("AlignNavBar"));
    UserControl_Resize();
}

bool PicControl::setAppearance(qint32 value)
{
    m.mAppearance = value;
    emit propertyChanged(QStringLiteral("Appearance"));
    if (!e.picMain->setAppearance(value))
        return false;
    if (Appearance() == 1)
        return setBorderStyle(1);
    return true;
}

OleColor PicControl::BackColor() const { return e.picMain->BackColor(); }

void PicControl::setBackColor(OleColor value)
{
    e.picMain->setBackColor(value);
    emit propertyChanged(QStringLiteral("BackColor"));
    e.picFrame->setBackColor(value);
    e.picHolder->setBackColor(value);
}

bool PicControl::setBorderStyle(qint32 value)
{
    m.mBorderStyle = value;
    if (!e.picMain->setBorderStyle(value))
        return false;
    emit propertyChanged(QStringLiteral("BorderStyle"));
    return true;
}

void PicControl::setLenzSize(qint32 value)
{
    m.mLenzSize = value;
    emit propertyChanged(QStringLiteral("LenzSize"));
    ApplyLensSize(m.mLenzSize);
}

qint32 PicControl::Magnify() const { return roundEven(m.mMagnify); }

void PicControl::setMagnify(qint32 value)
{
    m.mMagnify = float(value);
    RefreshLensTip();
    emit propertyChanged(QStringLiteral("Magnify"));
    if (!e.picZoom->isHidden())
        UpdateLens();
}

QImage PicControl::Picture() const { return e.picMain->picture(); }

void PicControl::setPicture(const QImage &picture)
{
    m.mPicture = picture;
    FrozenDrawing frozen(m_updateLock);
    RenderPicture();
    emit propertyChanged(QStringLiteral("Picture"));
    if (!UserControl_Resize())
        return;
    // Where a shown lens lay on the last picture may be off this one: it comes up afresh once
    // the view is placed, at 100 %.
    const bool lensShown = !e.picZoom->isHidden();
    e.picZoom->hide();
    ImagePanel &insert = *e.picInsert;
    const ImagePanel &overview = *e.picPosition;
    insert.setLeft(m.mCenteredX ? float(overview.Width() / 2.0 - insert.Width() / 2.0) : 0.0f);
    insert.setTop(m.mCenteredY ? float(overview.Height() / 2.0 - insert.Height() / 2.0) : 0.0f);
    DrawThumbnail();
    PaintInsertMarker();
    // A new picture sits one pixel further right than the marker alone would put it.
    setViewFromMarker(1);
    e.HScroll1->setValue(designStep);
    if (lensShown)
        bringUpLensOnPicture();
}

// Centred in the view as the magnifier button puts it, and then kept wholly on the picture: a
// picture centred in the viewport sits a little off the viewport's middle.
void PicControl::bringUpLensOnPicture()
{
    UpdateLens();
    ImagePanel &lens = *e.picZoom;
    if (lens.isHidden())
        return;
    const PictureSurface &main = *e.picMain;
    lens.Move(std::clamp(lens.Left(), 0.0f, main.Width() - lens.Width()), std::clamp(lens.Top(), 0.0f, main.Height() - lens.Height()));
    UpdateLens();
}

void PicControl::setScrollSpeed(qint16 value)
{
    m.mScrollSpeed = value;
    emit propertyChanged(QStringLiteral("ScrollSpeed"));
    m.mScrollSpeed = std::clamp(m.mScrollSpeed, slowestSpeed, fastestSpeed);
    const QString text = QString::number(m.mScrollSpeed);
    if (e.Combo1->currentText() != text)
        e.Combo1->setEditText(text);
}

QString PicControl::TipTextMagnifier() const { return e.picZoom->toolTip(); }

void PicControl::setTipTextMagnifier(const QString &value)
{
    e.picZoom->setToolTip(value);
    emit propertyChanged(QStringLiteral("TipTextMagnifier"));
}

QString PicControl::TipTextPicView() const { return e.picMain->toolTip(); }

void PicControl::setTipTextPicView(const QString &value)
{
    e.picMain->setToolTip(value);
    emit propertyChanged(QStringLiteral("TipTextPicView"));
}

void PicControl::UserControl_InitProperties()
{
    setAlignNavBar(2);
    m.mScrollSpeed = 10;
    m.mLenzSize = 0;
    m.mMagnify = 2.0f;
}

void PicControl::UserControl_ReadProperties(const PropertyBag &bag)
{
    // Straight onto the surface: nothing is drawn and the control's own picture stays unset.
    e.picMain->setPicture(bag.ReadProperty(QStringLiteral("Picture"), QImage()).value<QImage>());
    setScrollSpeed(qint16(bag.ReadProperty(QStringLiteral("ScrollSpeed"), Stored::ScrollSpeed).toInt()));
    setBorderStyle(bag.ReadProperty(QStringLiteral("BorderStyle"), Stored::BorderStyle).toInt());
    setAppearance(bag.ReadProperty(QStringLiteral("Appearance"), Stored::Appearance).toInt());
    setBackColor(bag.ReadProperty(QStringLiteral("BackColor"), m_ambientBackColor).toUInt());
    e.picMain->setToolTip(bag.ReadProperty(QStringLiteral("TipTextPicView"), QString()).toString());
    e.picZoom->setToolTip(bag.ReadProperty(QStringLiteral("TipTextMagnifier"), QString()).toString());
    setAlignNavBar(bag.ReadProperty(QStringLiteral("AlignNavBar"), Stored::AlignNavBar).toInt());
    setLenzSize(bag.ReadProperty(QStringLiteral("LenzSize"), Stored::LenzSize).toInt());
    setMagnify(roundEven(bag.ReadProperty(QStringLiteral("Magnify"), Stored::Magnify).toDouble()));
}

void PicControl::UserControl_WriteProperties(PropertyBag &bag) const
{
    bag.WriteProperty(QStringLiteral("Picture"), e.picMain->picture(), QImage());
    bag.WriteProperty(QStringLiteral("ScrollSpeed"), QVariant::fromValue(m.mScrollSpeed), Stored::ScrollSpeed);
    bag.WriteProperty(QStringLiteral("BorderStyle"), m.mBorderStyle, Stored::BorderStyle);
    bag.WriteProperty(QStringLiteral("Appearance"), m.mAppearance, Stored::Appearance);
    bag.WriteProperty(QStringLiteral("BackColor"), e.picMain->BackColor(), m_ambientBackColor);
    bag.WriteProperty(QStringLiteral("TipTextPicView"), e.picMain->toolTip(), QString());
    bag.WriteProperty(QStringLiteral("TipTextMagnifier"), e.picZoom->toolTip(), QString());
    bag.WriteProperty(QStringLiteral("AlignNavBar"), m.mAlignNavBar, Stored::AlignNavBar);
    bag.WriteProperty(QStringLiteral("LenzSize"), m.mLenzSize, Stored::LenzSize);
    bag.WriteProperty(QStringLiteral("Magnify"), m.mMagnify, Stored::Magnify);
}

void PicControl::UserControl_Show()
{
    e.Combo1->setEditText(QString::number(m.mScrollSpeed));
    e.Combo2->setEditText(QStringLiteral("Small"));
    e.Combo3->setEditText(QStringLiteral("2.0x"));
    RefreshLensTip();
}
