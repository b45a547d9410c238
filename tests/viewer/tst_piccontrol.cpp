#include "PropertyBag.h"
#include "ViewerFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

// Layout, picture sizes, overview marker, lens placement and properties of the viewer.
class tst_PicControl : public QObject
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
    void markerMirrorsTheView();
    void markerMovesTheView();
    void lensFit();
    void lensSourceSquare();
    void divisionsByZero();
    void properties();
    void propertyBagRoundTrip();
};

void tst_PicControl::layout_data()
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

void tst_PicControl::layout()
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

void tst_PicControl::reenteredLayoutEndsAtTheLatestSize()
{
    ViewerFixture f;
    bool once = true;
    f.platform.onProcessEvents = [&] {
        if (std::exchange(once, false))
            f.control->resize(500, 400);
    };
    f.control->resize(300, 300);
    QCOMPARE(f.control->size(), QSize(500, 400));
    QCOMPARE(f.e().picFrame->Width(), 424.0f);
    QCOMPARE(f.e().picFrame->Height(), 376.0f);
    QCOMPARE(f.e().picHolder->Width(), 422.0f);
    QCOMPARE(f.e().picHolderInsert->Left(), 119.0f);
}

void tst_PicControl::centringAndScrollRanges()
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
}

void tst_PicControl::sizeSteps_data()
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

void tst_PicControl::sizeSteps()
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

void tst_PicControl::pixelsInView()
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

    // 50 %: each pixel is the mean of the two by two it covers; doubled pixels halve exactly.
    f.control->setPicture(picture.scaled(1600, 1200));
    f.e().HScroll1->setValue(0);
    shot = f.e().picFrame->client()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot.copy(0, 0, 322, 274), picture.copy(0, 0, 322, 274));
}

void tst_PicControl::markerMirrorsTheView()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(1000, 476)); // ranges 676 across, 200 down
    QCOMPARE(f.m().mScrollRangeY, 200);
    QCOMPARE(f.e().picMain->Left(), 1.0f);
    QCOMPARE(f.e().picMain->Top(), 0.0f);
    f.e().picMain->setTop(-101); // 50.5 % rounds to the even 50
    f.control->UpdatePositionMarker();
    QCOMPARE(f.e().picInsert->Top(), 10.0f);
    f.e().picMain->setTop(-103);
    f.control->UpdatePositionMarker();
    QCOMPARE(f.e().picInsert->Top(), 10.4f);
    f.e().picMain->Move(-676, -200);
    f.control->UpdatePositionMarker();
    QCOMPARE(QPointF(f.e().picInsert->Left(), f.e().picInsert->Top()), QPointF(36, 20));
}

void tst_PicControl::markerMovesTheView()
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
    f.control->tmrInsert_Timer();
    QCOMPARE(f.platform.pointer, QPoint(100, 97));
    QCOMPARE(marker.Top(), 20.0f);
    QCOMPARE(f.e().picMain->Top(), -200.0f);
    QCOMPARE(f.e().picMain->Left(), -676.0f / 4);
    // The marker shows the overview beneath it.
    QCOMPARE(marker.image().pixel(0, 0), f.e().picPosition->image().pixel(9, 20));

    sendMouse(f.e().picPosition, QEvent::MouseMove, {50, 2}, Qt::NoButton, Qt::NoButton);
    QVERIFY(!f.e().tmrInsert->isActive());
}

void tst_PicControl::lensFit()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(200, 60));
    f.control->picButton_MouseUp(9, 1, 0, 0, 0);
    QCOMPARE(f.platform.messages, QStringList{"Glyphsmith: Increase picture size first!"});
    QVERIFY(f.e().picZoom->isHidden());
    f.control->setLenzSize(2);
    QCOMPARE(f.e().picZoom->Width(), 160.0f);
    QCOMPARE(f.platform.messages.size(), 1); // resized while hidden: nothing to say yet
    f.control->picButton_MouseUp(9, 1, 0, 0, 0);
    QCOMPARE(f.platform.messages.last(), "Glyphsmith: Increase picture size,\r\nor decrease zoom lens size first!");
    QVERIFY(f.e().picZoom->isHidden());
}

void tst_PicControl::lensSourceSquare()
{
    ViewerFixture f;
    const QImage picture = tracedPicture(400, 300);
    f.control->setPicture(picture);
    f.control->picButton_MouseUp(9, 1, 0, 0, 0);
    ImagePanel &lens = *f.e().picZoom;
    QVERIFY(!lens.isHidden());
    // Centred in the view: the picture sits at left 1 in a 324 x 276 viewport.
    QCOMPARE(QPointF(lens.Left(), lens.Top()), QPointF(-1 + 162 - 33.5, 138 - 33.5));
    // At the bottom-right end of its travel the lens shows the picture's last 34 x 34 pixels.
    lens.Move(333, 233);
    f.control->UpdateLens();
    QCOMPARE(lens.image().size(), QSize(67, 67));
    QCOMPARE(lens.image().pixel(0, 0), picture.pixel(366, 266));
    QCOMPARE(lens.image().pixel(66, 66), picture.pixel(399, 299));
    // At the top-left end it starts at the lens's own corner.
    lens.Move(0, 0);
    f.control->UpdateLens();
    QCOMPARE(lens.image().pixel(0, 0), picture.pixel(0, 0));
    QCOMPARE(lens.image().pixel(66, 66), picture.pixel(33, 33));
}

void tst_PicControl::divisionsByZero()
{
    ViewerFixture f;
    // No scroll range: the marker stays at the start of its travel.
    f.control->setPicture(tracedPicture(324, 276));
    f.control->UpdatePositionMarker();
    QCOMPARE(QPointF(f.e().picInsert->Left(), f.e().picInsert->Top()), QPointF(0, 0));

    // A lens exactly the picture's size shows the whole picture.
    const QImage lensSized = tracedPicture(67, 67);
    f.control->setPicture(lensSized);
    f.control->picButton_MouseUp(9, 1, 0, 0, 0);
    QVERIFY(f.platform.messages.isEmpty());
    QCOMPARE(f.e().picZoom->image(), lensSized);

    // No marker travel across: the view keeps its place on that axis.
    f.e().picPosition->setWidth(21);
    f.control->setPicture(tracedPicture(1000, 476));
    QCOMPARE(f.e().picMain->Left(), 0.0f);
    f.control->tmrInsert_Timer();
    QVERIFY(std::isfinite(f.e().picMain->Left()) && std::isfinite(f.e().picMain->Top()));
}

void tst_PicControl::properties()
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

void tst_PicControl::propertyBagRoundTrip()
{
    ViewerFixture f;
    PropertyBag fresh;
    f.control->UserControl_WriteProperties(fresh);
    // Values equal to their stored defaults are left out; these three differ from theirs.
    QCOMPARE(fresh.keys(), (QStringList{"ScrollSpeed", "BorderStyle", "Appearance", "TipTextMagnifier"}));

    f.control->setAlignNavBar(1);
    f.control->setScrollSpeed(120);
    f.control->setBackColor(OleColors::rgb(9, 8, 7));
    f.control->setMagnify(3);
    f.control->setTipTextPicView(QStringLiteral("Look"));
    PropertyBag bag;
    f.control->UserControl_WriteProperties(bag);
    const std::optional<PropertyBag> restored = PropertyBag::restore(bag.save());
    QVERIFY(restored);
    QCOMPARE(restored->ReadProperty(QStringLiteral("scrollspeed"), 50).toInt(), 120);
    QVERIFY(!PropertyBag::restore(QByteArray("not a bag")));

    PicControl copy(nullptr, &f.platform);
    copy.UserControl_ReadProperties(*restored);
    QCOMPARE(copy.AlignNavBar(), 1);
    QCOMPARE(copy.ScrollSpeed(), qint16(120));
    QCOMPARE(copy.BackColor(), OleColors::rgb(9, 8, 7));
    QCOMPARE(copy.Magnify(), 3);
    QCOMPARE(copy.TipTextPicView(), QStringLiteral("Look"));
    QCOMPARE(copy.BorderStyle(), 0);
}

QTEST_MAIN(tst_PicControl)
#include "tst_piccontrol.moc"
