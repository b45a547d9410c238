#include "viewer/PicControl.h"

#include "viewer/ImagePanel.h"
#include "viewer/PictureSurface.h"
#include "viewer/ScaledPicture.h"
#include "viewer/ViewerArithmetic.h"
#include "viewer/ViewerPlatform.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>

using ViewerArithmetic::hasTravel;
using ViewerArithmetic::roundEven;
using ViewerArithmetic::viewFromMarker;

namespace {

// The scale factor of a picture-size step: 0.5 and 0.75 for the first two, then 1 to 6.
double scaleFactor(int step) { return step == 0 ? 0.5 : step == 1 ? 0.75 : step - 1; }

QString sizeCaption(int step)
{
    if (step == 0)
        return QStringLiteral("50 %");
    if (step == 1)
        return QStringLiteral("75 %");
    return QString::number(qint16((step - 1) * 100)) + QStringLiteral(" %");
}

const QString lensTooBig = QStringLiteral("Increase picture size,\r\nor decrease zoom lens size first!");
const QString smallLensTooBig = QStringLiteral("Increase picture size first!");

// Where the lens's source square starts on one axis and how long it is. The lens's share of its
// travel, in whole percent, moves the square from the lens's own corner at one end to the
// picture's edge at the other. A lens exactly as long as the picture has no travel: the square
// is then the picture's whole length.
struct LensSpan
{
    int start;
    int length;
};

LensSpan lensSpan(float travel, float lens, float lensPosition, float side)
{
    if (!hasTravel(travel))
        return {0, roundEven(lens)};
    const int percent = roundEven(100.0 / travel * lensPosition);
    return {roundEven((lens - side) / 100.0 * percent + lensPosition), roundEven(side)};
}

} // namespace

void PicControl::HScroll1_Change() { ApplyPictureSize(); }

void PicControl::ApplyPictureSize()
{
    if (!e.picMain->hasPicture())
        return;
    releaseCapture();
    if (!DoEvents())
        return;
    e.Label4->setText(sizeCaption(e.HScroll1->value()));
    FrozenDrawing frozen(m_updateLock);
    RenderPicture();
    if (!UserControl_Resize())
        return;
    e.picMain->setToolTip(QStringLiteral("Picture size: ") + e.Label4->text());
    centreMarkerOnCentredAxes();
    setViewFromMarker(0);
    if (!e.picZoom->isHidden()) {
        e.picZoom->hide();
        UpdateLens();
    }
}

void PicControl::centreMarkerOnCentredAxes()
{
    ImagePanel &insert = *e.picInsert;
    if (m.mCenteredX)
        insert.setLeft(float(e.picPosition->Width() / 2.0 - insert.Width() / 2.0));
    if (m.mCenteredY)
        insert.setTop(float(e.picPosition->Height() / 2.0 - insert.Height() / 2.0));
}

// The marker-to-view mapping, vertical first. An axis whose marker has no travel keeps its view.
void PicControl::setViewFromMarker(float leftOffset)
{
    if (hasTravel(markerTravelY()))
        e.picMain->setTop(viewFromMarker(e.picInsert->Top(), markerTravelY(), m.mScrollRangeY));
    if (hasTravel(markerTravelX()))
        e.picMain->setLeft(viewFromMarker(e.picInsert->Left(), markerTravelX(), m.mScrollRangeX) + leftOffset);
}

float PicControl::markerTravelX() const { return e.picPosition->Width() - 2 - e.picInsert->Width(); }
float PicControl::markerTravelY() const { return e.picPosition->Height() - 2 - e.picInsert->Height(); }

void PicControl::RenderPicture()
{
    const double f = scaleFactor(e.HScroll1->value());
    FrozenDrawing frozen(m_updateLock);
    PictureSurface &main = *e.picMain;
    main.Move(0, 0);
    main.setPicture(m.mPicture);
    main.setWidth(float(main.Width() * f));
    main.setHeight(float(main.Height() * f));
    if (m.mPicture.isNull())
        return;
    m.mPicWidth = roundEven(m.mPicture.deviceIndependentSize().width());
    m.mPicHeight = roundEven(m.mPicture.deviceIndependentSize().height());
    // The surface draws itself from the picture, stretched over its client area, whenever a
    // part of it comes into view.
    main.show();
    DrawThumbnail();
}

void PicControl::DrawThumbnail()
{
    ImagePanel &overview = *e.picPosition;
    // The overview of a picture at a size is drawn once: size steps redraw it unchanged.
    const ThumbnailKey key{m.mPicture.cacheKey(), overview.clientSize()};
    if (key != m_thumbnailOf || overview.image().isNull()) {
        QImage thumbnail(overview.clientSize(), QImage::Format_RGB32);
        thumbnail.fill(Qt::white);
        // No picture leaves a blank overview rather than the last picture's.
        if (!m.mPicture.isNull() && !thumbnail.isNull()) {
            ScaledPicture scaled;
            scaled.set(m.mPicture.convertToFormat(QImage::Format_RGB32), thumbnail.size());
            thumbnail = scaled.render(thumbnail.rect());
        }
        overview.setImage(thumbnail);
        m_thumbnailOf = key;
    }
    if (!m.mPicture.isNull())
        e.picInsert->show();
}

void PicControl::PaintInsertMarker()
{
    const ImagePanel &insert = *e.picInsert;
    const QRect under(roundEven(insert.Left()), roundEven(insert.Top()), roundEven(insert.Width()), roundEven(insert.Height()));
    QImage marker(under.size(), QImage::Format_RGB32);
    marker.fill(Qt::white);
    const QImage &overview = e.picPosition->image();
    const QRect inside = under & overview.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            marker.setPixel(x - under.left(), y - under.top(), overview.pixel(x, y));
    }
    e.picInsert->setImage(marker);
}

void PicControl::UpdateLens()
{
    ImagePanel &lens = *e.picZoom;
    PictureSurface &main = *e.picMain;
    if (lens.Width() > main.Width() || lens.Height() > main.Height()) {
        const QString text = m.mLenzSize == 1 || m.mLenzSize == 2 ? lensTooBig : smallLensTooBig;
        // Hidden before the box comes up, so that a lens just made too big does not stand
        // unpainted over the picture while the box waits; no longer tracked, so that no tick
        // brings the box back while it waits or once it is closed.
        lens.hide();
        e.tmrZoom->stop();
        m_platform->showExclamation(this, QGuiApplication::applicationDisplayName(), text);
        return;
    }
    if (lens.isHidden()) {
        lens.Move(-main.Left() + (e.picFrame->Width() / 2 - lens.Width() / 2),
                  -main.Top() + (e.picFrame->Height() / 2 - lens.Height() / 2));
        lens.show();
    }
    const float travelX = main.Width() - lens.Width();
    const float travelY = main.Height() - lens.Height();
    // A lens as long as the picture on one axis can show only its whole length there; it shows
    // as much on the other axis, unmagnified, rather than stretch the picture.
    const bool wholeLength = !hasTravel(travelX) || !hasTravel(travelY);
    const float side = wholeLength ? lens.Height() : lens.Height() / m.mMagnify;
    const LensSpan y = lensSpan(travelY, lens.Height(), lens.Top(), side);
    const LensSpan x = lensSpan(travelX, lens.Width(), lens.Left(), side);
    const QImage source = main.imageRegion(QRect(x.start, y.start, x.length, y.length));
    lens.setImage(source.scaled(roundEven(lens.Width()), roundEven(lens.Height()), Qt::IgnoreAspectRatio, Qt::FastTransformation));
}
