#include "tests/viewer/FakeViewerPlatform.h"
#include "viewer/ImagePanel.h"
#include "viewer/PicControl.h"
#include "viewer/PicControlStoredDefaults.h"
#include "viewer/PicControlTestAccess.h"
#include "viewer/PictureSurface.h"
#include "viewer/PropertyBag.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>

// The picture viewer: layout, picture sizes, overview marker, lens, navigation buttons, scroll
// timers, speed and lens settings, and its properties.
class tst_Viewer : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void reenteredLayoutEndsAtTheLatestSize();
    void centringAndScrollRanges();
    void sizeSteps_data();
    void sizeSteps();
    void pixelsInView();
    void markerMirrorsTheView_data();
    void markerMirrorsTheView();
    void markerMovesTheView();
    void lensFit();
    void lensSourceSquare();
    void divisionsByZero();
    void properties();
    void propertyBagRoundTrip();
    void cornerJumpsCarryTheLens();
    void jumpsLeaveCentredAxesAndHiddenLensFlags();
    void anyMouseButtonPresses();
    void scrollTicks();
    void speedList();
    void lensSizeAndMagnification();
    void lensConfinement();
    void lensPressesAndDrag();
    void trackingStops();
    void keysAndDrags_data();
    void keysAndDrags();
    void sizeKeysAndDensePictures();
};

namespace {

// A picture whose every pixel tells where it came from: red and green are x and y modulo 256,
// blue their multiples of 256.
QImage tracedPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x & 255, y & 255, (x >> 8) | (y >> 8) << 4));
    }
    return picture;
}

// A new control at `size` in a shown (offscreen) host window, with the platform double.
struct ViewerFixture
{
    FakeViewerPlatform platform;
    QWidget host;
    PicControl *control = new PicControl(&host, &platform);
    PicControlTestAccess access{*control};

    explicit ViewerFixture(QSize size = {400, 300})
    {
        QCoreApplication::setApplicationName(QStringLiteral("Glyphsmith"));
        host.resize(1200, 900);
        control->UserControl_InitProperties();
        control->resize(size);
        host.show();
    }
    const PicControlElements &e() const { return access.elements(); }
    const PicControlState &m() const { return access.state(); }
};

// Sends a mouse event to `widget` at `local`, as the pointer at that place would.
void sendMouse(QWidget *widget, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(local), QPointF(widget->mapToGlobal(local)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// Presses and releases navigation button `index` as a left click would.
void click(ViewerFixture &f, qint16 index)
{
    f.access.picButton_MouseDown(index, 1);
    f.access.picButton_MouseUp(index, 1);
}

QPointF inViewport(const ViewerFixture &f)
{
    return {f.e().picMain->Left() + f.e().picZoom->Left(), f.e().picMain->Top() + f.e().picZoom->Top()};
}

} // namespace

void tst_Viewer::layout_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("align");
    QTest::addColumn<QSize>("laidOut");
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<int>("stripWidth");
    QTest::addColumn<float>("groupLeft");
    QTest::newRow("design size") << QSize(274, 257) << 2 << QSize(274, 257) << QRect(1, 1, 198, 233) << 196 << 6.0f;
    QTest::newRow("too narrow") << QSize(200, 300) << 2 << QSize(250, 300) << QRect(1, 1, 174, 276) << 172 << -6.0f;
    QTest::newRow("too low") << QSize(300, 200) << 2 << QSize(300, 250) << QRect(1, 1, 224, 226) << 222 << 19.0f;
    QTest::newRow("right") << QSize(400, 300) << 1 << QSize(400, 300) << QRect(1, 1, 324, 276) << 322 << 138.0f;
    QTest::newRow("left") << QSize(400, 300) << 0 << QSize(400, 300) << QRect(1, 1, 324, 276) << 322 << 0.0f;
    QTest::newRow("odd strip centres on a half") << QSize(401, 300) << 2 << QSize(401, 300) << QRect(1, 1, 325, 276) << 323 << 69.5f;
}

void tst_Viewer::layout()
{
    QFETCH(QSize, size);
    QFETCH(int, align);
    ViewerFixture f(size);
    f.control->setAlignNavBar(align);
    QFETCH(QSize, laidOut);
    QCOMPARE(f.control->size(), laidOut);
    QFETCH(QRect, frame);
    QCOMPARE(QRectF(f.e().picFrame->Left(), f.e().picFrame->Top(), f.e().picFrame->Width(), f.e().picFrame->Height()), QRectF(frame));
    QCOMPARE(f.e().picTools->Left(), float(laidOut.width() - 74));
    QCOMPARE(f.e().picHolder->Top(), float(laidOut.height() - 22));
    QFETCH(int, stripWidth);
    QCOMPARE(f.e().picHolder->Width(), float(stripWidth));
    QFETCH(float, groupLeft);
    QCOMPARE(f.e().picHolderInsert->Left(), groupLeft);
    // An alignment the control does not know leaves the group where it was.
    f.control->setAlignNavBar(7);
    f.control->resize(laidOut + QSize(40, 0));
    QCOMPARE(f.e().picHolderInsert->Left(), groupLeft);
}

void tst_Viewer::reenteredLayoutEndsAtTheLatestSize()
{
    ViewerFixture f;
    bool once = true;
    f.platform.onProcessEvents = [&] {
        if (std::exchange(once, false))
            f.control->resize(500, 400);
    };
    f.control->resize(300, 300);
    QCOMPARE(f.control->size(), QSize(500, 400));
    QCOMPARE(QSizeF(f.e().picFrame->Width(), f.e().picFrame->Height()), QSizeF(424, 376));
    QCOMPARE(f.e().picHolderInsert->Left(), 119.0f);
}

void tst_Viewer::centringAndScrollRanges()
{
    ViewerFixture f; // viewport 324 x 276
    f.control->setPicture(tracedPicture(100, 50));
    QVERIFY(f.m().mCenteredX && f.m().mCenteredY);
    QCOMPARE(f.m().mScrollRangeX, -224);
    QCOMPARE(f.m().mScrollRangeY, -226);
    // The marker sits in the middle of the overview and places the centred picture from there.
    QCOMPARE(f.e().picInsert->Left(), 19.0f);
    QCOMPARE(f.e().picInsert->Top(), 11.0f);
    QCOMPARE(f.e().picMain->Top(), float(-((100.0 / 20) * 11 * (-226 / 100.0))));
    QCOMPARE(f.e().picMain->Left(), float(-((100.0 / 36) * 19 * (-224 / 100.0)) + 1));

    f.control->setPicture(tracedPicture(324, 600));
    QVERIFY(!f.m().mCenteredX && !f.m().mCenteredY);
    QCOMPARE(f.m().mScrollRangeX, 0);
    QCOMPARE(f.m().mScrollRangeY, 324);
    QCOMPARE(f.e().picMain->Left(), 1.0f);

    f.control->setPicture(tracedPicture(1000, 100));
    QVERIFY(!f.m().mCenteredX && f.m().mCenteredY);

    // Laid out again, a margin of 111.5 centres on the even 112.
    f.control->setPicture(tracedPicture(101, 50));
    f.control->resize(400, 302);
    QCOMPARE(QPointF(f.e().picMain->Left(), f.e().picMain->Top()), QPointF(112, 114));
}

void tst_Viewer::sizeSteps_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSizeF>("surface");
    QTest::newRow("0") << 0 << "50 %" << QSizeF(200, 150);
    QTest::newRow("1") << 1 << "75 %" << QSizeF(300, 225);
    QTest::newRow("2") << 2 << "100 %" << QSizeF(400, 300);
    QTest::newRow("3") << 3 << "200 %" << QSizeF(800, 600);
    QTest::newRow("4") << 4 << "300 %" << QSizeF(1200, 900);
    QTest::newRow("7") << 7 << "600 %" << QSizeF(2400, 1800);
}

void tst_Viewer::sizeSteps()
{
    QFETCH(int, step);
    ViewerFixture f;
    // No picture: nothing changes, not even the caption.
    f.e().HScroll1->setValue(step == 5 ? 6 : 5);
    QCOMPARE(f.e().Label4->text(), QStringLiteral("100%"));
    QVERIFY(f.e().picMain->isHidden());

    f.control->setPicture(tracedPicture(400, 300));
    f.e().HScroll1->setValue(step == 2 ? 3 : 2);
    // Pending events run once as the step begins, and not while the picture is rebuilt, so
    // the viewport is drawn only with the view in its place.
    int eventRuns = 0;
    f.platform.onProcessEvents = [&] { ++eventRuns; };
    f.e().HScroll1->setValue(step);
    QCOMPARE(eventRuns, 1);
    QFETCH(QString, caption);
    QFETCH(QSizeF, surface);
    QCOMPARE(f.e().Label4->text(), caption);
    QCOMPARE(QSizeF(f.e().picMain->Width(), f.e().picMain->Height()), surface);
    QCOMPARE(f.control->TipTextPicView(), QStringLiteral("Picture size: ") + caption);
    QCOMPARE(f.m().mPicWidth, 400);
}

void tst_Viewer::pixelsInView()
{
    ViewerFixture f;
    const QImage picture = tracedPicture(800, 600);
    f.control->setPicture(picture);
    QImage shot = f.e().picFrame->client()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // A new picture sits one pixel right of the viewport's edge.
    QCOMPARE(shot.pixel(1, 0), picture.pixel(0, 0));
    QCOMPARE(shot.pixel(200, 150), picture.pixel(199, 150));
    QCOMPARE(shot.pixel(0, 0), f.e().picFrame->palette().color(QPalette::Button).rgb());

    f.e().HScroll1->setValue(4); // 300 %: every pixel three times over, from the corner
    shot = f.e().picFrame->client()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (const QPoint p : {QPoint(0, 0), QPoint(2, 2), QPoint(3, 5), QPoint(300, 200), QPoint(321, 273)})
        QCOMPARE(shot.pixel(p), picture.pixel(p.x() / 3, p.y() / 3));

    // The overview enlarges a picture smaller than itself, each pixel from the source pixel under its centre.
    const QImage tiny = tracedPicture(3, 2);
    f.control->setPicture(tiny);
    const QImage overview = f.e().picPosition->image();
    QImage underCentres(overview.size(), QImage::Format_RGB32);
    for (int y = 0; y < overview.height(); ++y) {
        for (int x = 0; x < overview.width(); ++x)
            underCentres.setPixel(x, y, tiny.pixel(int((x + 0.5) * 3 / overview.width()), int((y + 0.5) * 2 / overview.height())));
    }
    QCOMPARE(overview, underCentres);

    // 50 %: each pixel is the mean of the two by two it covers, the half between two values rounded up.
    const QImage twice = tracedPicture(1600, 1200);
    f.control->setPicture(twice);
    f.e().HScroll1->setValue(0);
    shot = f.e().picFrame->client()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage means(322, 274, QImage::Format_RGB32);
    for (int y = 0; y < means.height(); ++y) {
        for (int x = 0; x < means.width(); ++x) {
            const QRgb even = twice.pixel(2 * x, 2 * y);
            means.setPixel(x, y, qRgb(qRed(even) + 1, qGreen(even) + 1, qBlue(even)));
        }
    }
    QCOMPARE(shot.copy(means.rect()), means);
}

// The view's share of its scroll range in whole percent, halves to even, places the marker in
// single precision; with no range to scroll it stays at the start of its travel.
void tst_Viewer::markerMirrorsTheView_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QPointF>("view");
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("top");
    QTest::newRow("50.5 % rounds to the even 50") << QSize(1000, 476) << QPointF(1, -101) << 0.0f << 10.0f;
    QTest::newRow("51.5 % rounds to 52: 10.4 in single precision") << QSize(1000, 476) << QPointF(1, -103) << 0.0f << 10.4f;
    QTest::newRow("far corner") << QSize(1000, 476) << QPointF(-676, -200) << 36.0f << 20.0f;
    QTest::newRow("no scroll range") << QSize(324, 276) << QPointF(1, 0) << 0.0f << 0.0f;
}

void tst_Viewer::markerMirrorsTheView()
{
    QFETCH(QSize, picture);
    QFETCH(QPointF, view);
    QFETCH(float, left);
    QFETCH(float, top);
    ViewerFixture f; // ranges 676 across and 200 down for the larger picture
    f.control->setPicture(tracedPicture(picture.width(), picture.height()));
    f.e().picMain->Move(float(view.x()), float(view.y()));
    f.access.UpdatePositionMarker();
    QCOMPARE(f.e().picInsert->Left(), left);
    QCOMPARE(f.e().picInsert->Top(), top);
}

void tst_Viewer::markerMovesTheView()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(1000, 476));
    ImagePanel &marker = *f.e().picInsert;

    // A left press tracks the marker; a right one does not.
    sendMouse(&marker, QEvent::MouseButtonPress, {5, 5}, Qt::RightButton, Qt::RightButton);
    QVERIFY(!f.e().tmrInsert->isActive());
    sendMouse(&marker, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    QVERIFY(f.e().tmrInsert->isActive());
    // Dragged 9 across and 3 below the end of its travel: the pointer goes back 3, the marker
    // stops at the end, and the view is a quarter across and at the bottom.
    sendMouse(&marker, QEvent::MouseMove, {14, 28}, Qt::NoButton, Qt::LeftButton);
    QCOMPARE(QPointF(marker.Left(), marker.Top()), QPointF(9, 23));
    f.platform.pointer = {100, 100};
    f.access.tmrInsert_Timer();
    QCOMPARE(f.platform.pointer, QPoint(100, 97));
    QCOMPARE(marker.Top(), 20.0f);
    QCOMPARE(f.e().picMain->Top(), -200.0f);
    QCOMPARE(f.e().picMain->Left(), -676.0f / 4);
    // The marker shows the overview beneath it, to its last row.
    QCOMPARE(marker.image(), f.e().picPosition->image().copy(9, 20, marker.image().width(), marker.image().height()).convertToFormat(QImage::Format_RGB32));
    // Past the end across, inside the overview's border: the view at its right edge.
    marker.setLeft(40);
    f.access.tmrInsert_Timer();
    QCOMPARE(f.platform.pointer, QPoint(96, 97));
    QCOMPARE(marker.Left(), 36.0f);
    QCOMPARE(f.e().picMain->Left(), -676.0f);

    sendMouse(f.e().picPosition, QEvent::MouseMove, {50, 2}, Qt::NoButton, Qt::NoButton);
    QVERIFY(!f.e().tmrInsert->isActive());
}

void tst_Viewer::lensFit()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(200, 120));
    click(f, 9);
    // Refused while it is tracked, the lens is tracked no more: no tick brings the message back.
    sendMouse(f.e().picZoom, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    f.e().HScroll1->setValue(0); // 50 %: 60 pixels high
    QCOMPARE(f.platform.messages, QStringList{"Glyphsmith: Increase picture size first!"});
    QVERIFY(f.e().picZoom->isHidden() && !f.e().tmrZoom->isActive());
    f.control->setLenzSize(2);
    QCOMPARE(f.e().picZoom->Width(), 160.0f);
    QCOMPARE(f.platform.messages.size(), 1); // resized while hidden: nothing to say yet
    f.access.picButton_MouseUp(9, 1);
    QCOMPARE(f.platform.messages.last(), "Glyphsmith: Increase picture size,\r\nor decrease zoom lens size first!");
    QVERIFY(f.e().picZoom->isHidden());
}

void tst_Viewer::lensSourceSquare()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(1001, 777));
    f.access.picButton_MouseUp(9, 1);
    ImagePanel &lens = *f.e().picZoom;
    lens.Move(900, 700);
    // A new picture brings a shown lens up afresh where the magnifier puts it, centred in the
    // view: the picture sits at left 1 in a 324 x 276 viewport.
    const QImage picture = tracedPicture(400, 300);
    f.control->setPicture(picture);
    QVERIFY(!lens.isHidden());
    const QPointF centred(-1 + 162 - 33.5, 138 - 33.5);
    QCOMPARE(QPointF(lens.Left(), lens.Top()), centred);
    lens.Move(0, 0);
    f.access.picButton_MouseUp(9, 1);
    QCOMPARE(QPointF(lens.Left(), lens.Top()), centred);
    // At the bottom-right end of its travel the lens shows the picture's last 34 x 34 pixels.
    lens.Move(333, 233);
    f.access.UpdateLens();
    QCOMPARE(lens.image().size(), QSize(67, 67));
    QCOMPARE(lens.image().pixel(0, 0), picture.pixel(366, 266));
    QCOMPARE(lens.image().pixel(66, 66), picture.pixel(399, 299));
    // At the top-left end it starts at the lens's own corner.
    lens.Move(0, 0);
    f.access.UpdateLens();
    QCOMPARE(lens.image().pixel(0, 0), picture.pixel(0, 0));
    QCOMPARE(lens.image().pixel(66, 66), picture.pixel(33, 33));
}

void tst_Viewer::divisionsByZero()
{
    ViewerFixture f;
    // A lens exactly the picture's size shows the whole picture.
    const QImage lensSized = tracedPicture(67, 67);
    f.control->setPicture(lensSized);
    f.access.picButton_MouseUp(9, 1);
    QVERIFY(f.platform.messages.isEmpty());
    QCOMPARE(f.e().picZoom->image(), lensSized);
    // Exactly as high as the picture: the whole height, and as much across, so nothing is
    // stretched. The new picture goes back from 200 % to 100 %, which puts the view at 0; then
    // the lens comes up at left 128.5, kept on the picture, and shows the columns from the even
    // 128 on.
    const QImage strip = tracedPicture(400, 67);
    f.e().HScroll1->setValue(3);
    f.control->setPicture(strip);
    QCOMPARE(QPointF(f.e().picZoom->Left(), f.e().picZoom->Top()), QPointF(128.5, 0));
    QCOMPARE(f.e().picZoom->image(), strip.copy(128, 0, 67, 67));

    // No marker travel across: the view keeps its place on that axis.
    f.e().picPosition->setWidth(21);
    f.control->setPicture(tracedPicture(1000, 476));
    QCOMPARE(f.e().picMain->Left(), 0.0f);
    f.access.tmrInsert_Timer();
    QVERIFY(std::isfinite(f.e().picMain->Left()) && std::isfinite(f.e().picMain->Top()));
}

void tst_Viewer::properties()
{
    ViewerFixture f;
    QSignalSpy changed(f.control, &PicControl::propertyChanged);
    f.control->setScrollSpeed(5);
    QCOMPARE(f.control->ScrollSpeed(), qint16(10));
    QCOMPARE(f.e().Combo1->currentText(), QStringLiteral("10"));
    f.control->setScrollSpeed(1000);
    QCOMPARE(f.control->ScrollSpeed(), qint16(400));
    QCOMPARE(f.e().Combo1->currentText(), QStringLiteral("400"));

    f.control->setMagnify(3);
    QCOMPARE(f.m().mMagnify, 3.0f);
    f.e().Combo3->setEditText(QStringLiteral("1.5x"));
    QCOMPARE(f.control->Magnify(), 2);

    f.control->setAppearance(0);
    QCOMPARE(f.control->BorderStyle(), 0);
    QVERIFY(f.control->setAppearance(1));
    QCOMPARE(f.control->BorderStyle(), 1);
    QVERIFY(!f.control->setBorderStyle(3));
    QCOMPARE(f.control->BorderStyle(), 3); // stored before the surface refused it
    QCOMPARE(f.e().picMain->BorderStyle(), 1);

    f.control->setBackColor(OleColors::rgb(1, 2, 3));
    for (const Panel *p : std::initializer_list<const Panel *>{f.e().picMain, f.e().picFrame, f.e().picHolder})
        QCOMPARE(p->BackColor(), OleColors::rgb(1, 2, 3));
    QCOMPARE(OleColors::resolve(f.control->BackColor(), f.control->palette()), QColor(1, 2, 3));

    QStringList keys;
    for (const QList<QVariant> &signal : changed)
        keys << signal.first().toString();
    // 1000 is written back as "400", which the list applies once more.
    QCOMPARE(keys, (QStringList{"ScrollSpeed", "ScrollSpeed", "ScrollSpeed", "Magnify", "Appearance",
                                "Appearance", "BorderStyle", "BackColor"}));
}

void tst_Viewer::propertyBagRoundTrip()
{
    ViewerFixture f;
    PropertyBag fresh;
    f.control->UserControl_WriteProperties(fresh);
    // Values equal to their stored defaults are left out; these three differ from theirs.
    QCOMPARE(fresh.keys(), (QStringList{"ScrollSpeed", "BorderStyle", "Appearance", "TipTextMagnifier"}));

    // A host that knows the control only by its Qt properties: all ten, set, saved, restored,
    // each to a value no other one has. A lens size the control does not know is kept all the same.
    const QList<std::pair<const char *, QVariant>> set{
        {"AlignNavBar", 2}, {"Appearance", 0}, {"BackColor", OleColors::rgb(9, 8, 7)}, {"BorderStyle", 1},
        {"LenzSize", 5}, {"Magnify", 3}, {"Picture", tracedPicture(5, 4)}, {"ScrollSpeed", 120},
        {"TipTextMagnifier", "Lens"}, {"TipTextPicView", "Look"}};
    for (const auto &[name, value] : set)
        QVERIFY(f.control->setProperty(name, value));
    PropertyBag bag;
    f.control->UserControl_WriteProperties(bag);
    const std::optional<PropertyBag> restored = PropertyBag::restore(bag.save());
    QVERIFY(restored);
    QCOMPARE(restored->ReadProperty(QStringLiteral("scrollspeed"), 50).toInt(), 120);
    QVERIFY(!PropertyBag::restore(QByteArray("not a bag")));
    // Back at its stored default, a value leaves the bag it was written to.
    f.control->setScrollSpeed(PicControlStoredDefaults::ScrollSpeed);
    f.control->UserControl_WriteProperties(bag);
    QVERIFY(!bag.keys().contains(QStringLiteral("ScrollSpeed")));

    PicControl copy(nullptr, &f.platform);
    copy.UserControl_ReadProperties(*restored);
    for (const auto &[name, value] : set) {
        // The restored magnification writes the lens's tooltip afresh, from its list.
        const bool rewritten = name == QByteArray("TipTextMagnifier");
        QCOMPARE(rewritten ? restored->ReadProperty(QString::fromLatin1(name), {}) : copy.property(name), value);
    }
}

void tst_Viewer::cornerJumpsCarryTheLens()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(1001, 777)); // ranges 677 across, 501 down
    click(f, 9);
    const QPointF lensAt = inViewport(f);

    click(f, 0); // "Left-botto corner"
    QCOMPARE(QPointF(f.e().picMain->Left(), f.e().picMain->Top()), QPointF(0, -501));
    QCOMPARE(inViewport(f), lensAt);
    QVERIFY(f.m().mAtLeft && f.m().mAtBottom && !f.m().mAtTop && !f.m().mAtRight);
    const QPointF lensInPicture(f.e().picZoom->Left(), f.e().picZoom->Top());
    click(f, 0); // already there: the lens is not shifted again
    QCOMPARE(QPointF(f.e().picZoom->Left(), f.e().picZoom->Top()), lensInPicture);
    QCOMPARE(QPointF(f.e().picInsert->Left(), f.e().picInsert->Top()), QPointF(0, 20));

    click(f, 2); // "Centered": an odd range ends on a half
    QCOMPARE(QPointF(f.e().picMain->Left(), f.e().picMain->Top()), QPointF(-338.5, -250.5));
    QCOMPARE(inViewport(f), lensAt);
    QVERIFY(!f.m().mAtLeft && !f.m().mAtBottom);

    // Moved by other means, the view leaves the flags as they were: a set flag then moves the
    // picture without shifting the lens.
    click(f, 4); // "Upper-right corner"
    f.e().picMain->setLeft(-100);
    const QPointF moved = inViewport(f);
    click(f, 4);
    QCOMPARE(f.e().picMain->Left(), -677.0f);
    QCOMPARE(inViewport(f), moved - QPointF(577, 0));
}

void tst_Viewer::jumpsLeaveCentredAxesAndHiddenLensFlags()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(100, 777)); // centred across
    const float left = f.e().picMain->Left();
    click(f, 9);
    click(f, 4);
    QCOMPARE(f.e().picMain->Left(), left);
    QVERIFY(!f.m().mAtRight && f.m().mAtTop);

    f.control->setPicture(tracedPicture(1001, 777));
    f.access.picZoom_MouseDown(2);
    click(f, 1);
    QCOMPARE(QPointF(f.e().picMain->Left(), f.e().picMain->Top()), QPointF(-677, -501));
    QVERIFY(!f.m().mAtRight && !f.m().mAtBottom && f.m().mAtTop);

    // The magnifier does nothing at all before there is a picture; the marker stays put.
    ViewerFixture empty;
    empty.e().picInsert->Move(5, 5);
    empty.access.picButton_MouseUp(9, 1);
    QCOMPARE(empty.e().picInsert->Left(), 5.0f);
    QVERIFY(empty.e().picZoom->isHidden());
}

void tst_Viewer::anyMouseButtonPresses()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(1001, 777));
    ImagePanel *down = f.e().picButton[8];
    QVERIFY(!f.e().picUp[8].isNull() && f.e().picUp[8] != f.e().picDown[8]); // the control's own artwork
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        sendMouse(down, QEvent::MouseButtonPress, {8, 8}, button, button);
        QVERIFY(f.e().tmrScrollDown->isActive());
        QCOMPARE(down->image(), f.e().picDown[8]);
        sendMouse(down, QEvent::MouseButtonRelease, {8, 8}, button, Qt::NoButton);
        QVERIFY(!f.e().tmrScrollDown->isActive());
        QCOMPARE(down->image(), f.e().picUp[8]);
    }
}

void tst_Viewer::scrollTicks()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(1001, 426)); // 150 to scroll down
    click(f, 9);
    ImagePanel &lens = *f.e().picZoom;

    // From -5 at speed 10 the picture stops at 0; the lens takes the whole step back.
    f.e().picMain->setLeft(-5);
    const float lensLeft = lens.Left();
    f.e().tmrScrollLeft->start();
    f.access.tmrScrollLeft_Timer();
    QCOMPARE(f.e().picMain->Left(), 0.0f);
    QCOMPARE(lens.Left(), lensLeft - 10);
    QVERIFY(!f.e().tmrScrollLeft->isActive());
    // At the edge a tick does nothing at all.
    f.e().picInsert->setLeft(3);
    f.access.tmrScrollLeft_Timer();
    QCOMPARE(lens.Left(), lensLeft - 10);
    QCOMPARE(f.e().picInsert->Left(), 3.0f);

    f.control->setScrollSpeed(400);
    f.e().tmrScrollDown->start();
    f.access.tmrScrollDown_Timer();
    QCOMPARE(f.e().picMain->Top(), -150.0f);
    QVERIFY(!f.e().tmrScrollDown->isActive());
    QCOMPARE(f.e().picInsert->Top(), 20.0f);

    // A wheel notch down scrolls one step down; with Shift, one step across.
    const auto wheel = [&](QPoint angle, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), angle, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(f.e().picMain, &event);
    };
    f.control->setScrollSpeed(10);
    f.e().picMain->Move(-100, -50);
    wheel({0, 120}, Qt::NoModifier);
    QCOMPARE(f.e().picMain->Top(), -40.0f);
    wheel({0, -240}, Qt::ShiftModifier);
    QCOMPARE(f.e().picMain->Left(), -120.0f);

    // A picture that fits across does not scroll across.
    f.control->setPicture(tracedPicture(100, 426));
    const float centred = f.e().picMain->Left();
    f.access.tmrScrollRight_Timer();
    QCOMPARE(f.e().picMain->Left(), centred);
}

void tst_Viewer::speedList()
{
    ViewerFixture f;
    QLineEdit &box = *f.e().Combo1->lineEdit();
    box.clear();
    QTest::keyClick(&box, Qt::Key_2);
    QCOMPARE(f.control->ScrollSpeed(), qint16(10)); // "2" waits for the next key
    QTest::keyClick(&box, Qt::Key_5);
    QCOMPARE(f.control->ScrollSpeed(), qint16(25));
    QCOMPARE(box.text(), QStringLiteral("25"));

    box.clear();
    QTest::keyClicks(&box, QStringLiteral("1000"));
    // "100" on the way was a speed; "1000" is left as typed until editing ends.
    QCOMPARE(f.control->ScrollSpeed(), qint16(100));
    QCOMPARE(box.text(), QStringLiteral("1000"));
    f.access.Combo1_EditingFinished();
    QCOMPARE(f.control->ScrollSpeed(), qint16(400));
    QCOMPARE(box.text(), QStringLiteral("400"));

    box.clear();
    QTest::keyClicks(&box, QStringLiteral("fast"));
    f.access.Combo1_EditingFinished();
    QCOMPARE(box.text(), QStringLiteral("400"));

    f.e().Combo1->setCurrentIndex(14);
    QCOMPARE(f.control->ScrollSpeed(), qint16(150));
}

void tst_Viewer::lensSizeAndMagnification()
{
    ViewerFixture f;
    // Shown, the control presents the list's texts whatever its stored set held.
    QCOMPARE(f.e().Combo3->currentText(), QStringLiteral("2.0x"));
    QCOMPARE(f.m().mMagnify, 2.0f);
    QCOMPARE(f.control->TipTextMagnifier(), QStringLiteral("2.0x Magnification. Right Click To Close"));
    f.e().Combo3->setEditText(QStringLiteral("3.5x"));
    QCOMPARE(f.m().mMagnify, 2.0f);
    QCOMPARE(f.control->TipTextMagnifier(), QStringLiteral("3.5x Magnification."));
    f.e().Combo3->setEditText(QStringLiteral("2.5x"));
    QCOMPARE(f.m().mMagnify, 2.5f);

    f.control->setPicture(tracedPicture(400, 120));
    click(f, 9);
    QVERIFY(!f.e().picZoom->isHidden());
    const QPointF corner(f.e().picZoom->Left(), f.e().picZoom->Top());
    f.e().Combo2->setEditText(QStringLiteral("Medium")); // 113 still fits: resized in place
    QCOMPARE(QPointF(f.e().picZoom->Left(), f.e().picZoom->Top()), corner);
    QCOMPARE(f.e().picZoom->image().size(), QSize(113, 113));
    f.e().tmrZoom->start(); // tracked, as after a left press on the lens
    f.e().Combo2->setEditText(QStringLiteral("Large"));
    QCOMPARE(f.platform.messages, QStringList{"Glyphsmith: Increase picture size,\r\nor decrease zoom lens size first!"});
    QVERIFY(f.e().picZoom->isHidden() && !f.e().tmrZoom->isActive());
    QCOMPARE(f.e().picZoom->Width(), 160.0f);
    QCOMPARE(f.m().mLenzSize, 2);
    f.e().Combo2->setEditText(QStringLiteral("Huge"));
    QCOMPARE(f.m().mLenzSize, 2);
}

void tst_Viewer::lensConfinement()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(1001, 777));
    click(f, 9);
    ImagePanel &lens = *f.e().picZoom;
    // Past an edge, the lens is put flush with it and the pointer goes back by the overshoot.
    lens.Move(1001 - 67 + 7, 40);
    f.platform.pointer = {500, 300};
    f.access.tmrZoom_Timer();
    QCOMPARE(f.platform.pointer, QPoint(493, 300));
    QCOMPARE(lens.Left(), 934.0f);
    lens.Move(-3, -4);
    f.access.tmrZoom_Timer();
    QCOMPARE(f.platform.pointer, QPoint(496, 304));
    QCOMPARE(QPointF(lens.Left(), lens.Top()), QPointF(0, 0));
}

void tst_Viewer::lensPressesAndDrag()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(1001, 777));
    click(f, 9);
    ImagePanel &lens = *f.e().picZoom;
    const QPointF start(lens.Left(), lens.Top());
    const QPointF shownAt(lens.pos()); // a moved child lands on whole pixels

    sendMouse(&lens, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    QVERIFY(f.e().tmrZoom->isActive());
    QCOMPARE(QPointF(lens.Left(), lens.Top()), start);
    // Both buttons held: no drag.
    sendMouse(&lens, QEvent::MouseMove, {40, 10}, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
    QCOMPARE(QPointF(lens.Left(), lens.Top()), start);
    // The left button alone: the lens follows the pointer.
    sendMouse(&lens, QEvent::MouseMove, {40, 15}, Qt::NoButton, Qt::LeftButton);
    QCOMPARE(QPointF(lens.Left(), lens.Top()), shownAt + QPointF(30, 5));
    sendMouse(&lens, QEvent::MouseButtonRelease, {40, 15}, Qt::LeftButton, Qt::NoButton);

    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        click(f, 9);
        f.e().tmrZoom->start();
        sendMouse(&lens, QEvent::MouseButtonPress, {10, 10}, button, button);
        QVERIFY(lens.isHidden());
        QVERIFY(!f.e().tmrZoom->isActive());
    }
}

void tst_Viewer::trackingStops()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(1001, 777));
    click(f, 9);
    f.e().tmrZoom->start();
    f.e().tmrInsert->start();
    // Over the lens the tracking goes on after the drag; over the picture itself it stops.
    sendMouse(f.e().picZoom, QEvent::MouseMove, {3, 3}, Qt::NoButton, Qt::NoButton);
    QVERIFY(f.e().tmrZoom->isActive());
    sendMouse(f.e().picMain, QEvent::MouseMove, {3, 3}, Qt::NoButton, Qt::NoButton);
    QVERIFY(!f.e().tmrZoom->isActive() && !f.e().tmrInsert->isActive());

    f.e().tmrZoom->start();
    f.e().tmrInsert->start();
    f.access.picButton_MouseDown(3, 1);
    QVERIFY(!f.e().tmrZoom->isActive() && !f.e().tmrInsert->isActive());
}

QTEST_MAIN(tst_Viewer)
#include "tst_viewer.moc"

void tst_Viewer::keysAndDrags_data()
{
    QTest::addColumn<QString>("gesture");   // keys, or a left drag by x and y
    QTest::addColumn<QPointF>("view");      // picMain's left and top after it, from (-300, -200)
    QTest::addColumn<QPointF>("marker");    // picInsert's
    QTest::addColumn<QPointF>("lensShift"); // how far the lens moved in the viewport
    // Ranges 677 across and 501 down; a viewport of 324 x 276 pages by 291 and 248.
    QTest::newRow("Left: a step of the speed") << "Left" << QPointF(-290, -200) << QPointF(15.48, 8) << QPointF();
    QTest::newRow("Page Up: the lens takes the whole page") << "PgUp" << QPointF(-300, 0) << QPointF(15.84, 0) << QPointF(0, -48);
    QTest::newRow("Shift+Page Down: across") << "Shift+PgDown" << QPointF(-591, -200) << QPointF(31.32, 8) << QPointF();
    QTest::newRow("End: bottom-right corner") << "End" << QPointF(-677, -501) << QPointF(36, 20) << QPointF();
    QTest::newRow("Ctrl+Home: centre") << "Ctrl+Home" << QPointF(-338.5, -250.5) << QPointF(18, 10) << QPointF();
    QTest::newRow("drag: the lens rides along") << "drag 50 30" << QPointF(-250, -170) << QPointF(13.32, 6.8) << QPointF(50, 30);
    QTest::newRow("drag past the edges") << "drag 1000 -2000" << QPointF(0, -501) << QPointF(0, 20) << QPointF(300, -301);
}

// A key is a click of its navigation button, with one tick between press and release for the
// scroll keys; a drag pans within the ranges. The marker follows and tracking stops as for them.
void tst_Viewer::keysAndDrags()
{
    QFETCH(QString, gesture);
    QFETCH(QPointF, view);
    QFETCH(QPointF, marker);
    QFETCH(QPointF, lensShift);
    ViewerFixture f;
    f.control->setPicture(tracedPicture(1001, 777));
    click(f, 9);
    PictureSurface *main = f.e().picMain;
    main->Move(-300, -200);
    const QPointF lensAt = inViewport(f);
    f.e().tmrZoom->start();
    if (gesture.startsWith(u"drag")) {
        const QPoint grab = main->mapToGlobal(QPoint(400, 300));
        const QPoint by(gesture.section(u' ', 1, 1).toInt(), gesture.section(u' ', 2, 2).toInt());
        sendMouse(main, QEvent::MouseButtonPress, main->mapFromGlobal(grab), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(main->cursor().shape(), Qt::ClosedHandCursor);
        sendMouse(main, QEvent::MouseMove, main->mapFromGlobal(grab + by), Qt::NoButton, Qt::LeftButton);
        sendMouse(main, QEvent::MouseButtonRelease, main->mapFromGlobal(grab + by), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(main->cursor().shape(), Qt::ArrowCursor);
    } else {
        QTest::keySequence(f.control, QKeySequence(gesture));
    }
    QCOMPARE(QPointF(main->Left(), main->Top()), view);
    // The marker's place is single precision: a millionth of its travel is close enough.
    QVERIFY(std::abs(f.e().picInsert->Left() - marker.x()) < 1e-4 && std::abs(f.e().picInsert->Top() - marker.y()) < 1e-4);
    QCOMPARE(inViewport(f) - lensAt, lensShift);
    QVERIFY(!f.e().tmrZoom->isActive() && !f.e().tmrScrollUp->isActive());
}

// +, = and - and Ctrl+wheel step the picture size within its steps, once there is a picture; a
// picture drawn for a denser screen takes the room of its size at one pixel a pixel.
void tst_Viewer::sizeKeysAndDensePictures()
{
    ViewerFixture f;
    QTest::keyClick(f.control, Qt::Key_Plus);
    QCOMPARE(f.e().HScroll1->value(), 2);
    QImage dense = tracedPicture(800, 600);
    dense.setDevicePixelRatio(2);
    f.control->setPicture(dense);
    QCOMPARE(QSizeF(f.e().picMain->Width(), f.e().picMain->Height()), QSizeF(400, 300));
    const auto wheel = [&](int angle) {
        QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(f.e().picMain, &event);
        return f.e().picMain->Width();
    };
    for (const Qt::Key key : {Qt::Key_Plus, Qt::Key_Equal, Qt::Key_Minus})
        QTest::keyClick(f.control, key);
    QCOMPARE(f.e().Label4->text(), "200 %");
    QCOMPARE(wheel(120), 1200.0f);
    QCOMPARE(wheel(-720), 200.0f); // no further than 50 %
}
