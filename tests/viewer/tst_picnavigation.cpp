#include "ViewerFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

// Navigation buttons, scroll timers, lens and speed settings, and the lens's drag.
class tst_PicNavigation : public QObject
{
    Q_OBJECT

private slots:
    void cornerJumpsCarryTheLens();
    void jumpsLeaveCentredAxesAndHiddenLensFlags();
    void anyMouseButtonPresses();
    void scrollTicks();
    void speedList();
    void lensSizeAndMagnification();
    void lensConfinement();
    void lensPressesAndDrag();
    void trackingStops();
};

namespace {

// Releases navigation button `index` as a left click would.
void click(PicControl &control, qint16 index)
{
    control.picButton_MouseDown(index, 1, 0, 0, 0);
    control.picButton_MouseUp(index, 1, 0, 0, 0);
}

QPointF inViewport(const ViewerFixture &f)
{
    return {f.e().picMain->Left() + f.e().picZoom->Left(), f.e().picMain->Top() + f.e().picZoom->Top()};
}

} // namespace

void tst_PicNavigation::cornerJumpsCarryTheLens()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(1001, 777)); // ranges 677 across, 501 down
    click(*f.control, 9);
    const QPointF lensAt = inViewport(f);

    click(*f.control, 0); // "Left-botto corner"
    QCOMPARE(QPointF(f.e().picMain->Left(), f.e().picMain->Top()), QPointF(0, -501));
    QCOMPARE(inViewport(f), lensAt);
    QVERIFY(f.m().mAtLeft && f.m().mAtBottom && !f.m().mAtTop && !f.m().mAtRight);
    const QPointF lensInPicture(f.e().picZoom->Left(), f.e().picZoom->Top());
    click(*f.control, 0); // already there: the lens is not shifted again
    QCOMPARE(QPointF(f.e().picZoom->Left(), f.e().picZoom->Top()), lensInPicture);
    QCOMPARE(QPointF(f.e().picInsert->Left(), f.e().picInsert->Top()), QPointF(0, 20));

    click(*f.control, 2); // "Centered": an odd range ends on a half
    QCOMPARE(QPointF(f.e().picMain->Left(), f.e().picMain->Top()), QPointF(-338.5, -250.5));
    QCOMPARE(inViewport(f), lensAt);
    QVERIFY(!f.m().mAtLeft && !f.m().mAtBottom);

    // Moved by other means, the view leaves the flags as they were: a set flag then moves the
    // picture without shifting the lens.
    click(*f.control, 4); // "Upper-right corner"
    f.e().picMain->setLeft(-100);
    const QPointF moved = inViewport(f);
    click(*f.control, 4);
    QCOMPARE(f.e().picMain->Left(), -677.0f);
    QCOMPARE(inViewport(f), moved - QPointF(577, 0));
}

void tst_PicNavigation::jumpsLeaveCentredAxesAndHiddenLensFlags()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(100, 777)); // centred across
    const float left = f.e().picMain->Left();
    click(*f.control, 9);
    click(*f.control, 4);
    QCOMPARE(f.e().picMain->Left(), left);
    QVERIFY(!f.m().mAtRight && f.m().mAtTop);

    f.control->setPicture(tracedPicture(1001, 777));
    f.control->picZoom_MouseDown(2, 0, 0, 0);
    click(*f.control, 1);
    QCOMPARE(QPointF(f.e().picMain->Left(), f.e().picMain->Top()), QPointF(-677, -501));
    QVERIFY(!f.m().mAtRight && !f.m().mAtBottom && f.m().mAtTop);

    // The magnifier does nothing at all before there is a picture; the marker stays put.
    ViewerFixture empty;
    empty.e().picInsert->Move(5, 5);
    empty.control->picButton_MouseUp(9, 1, 0, 0, 0);
    QCOMPARE(empty.e().picInsert->Left(), 5.0f);
    QVERIFY(empty.e().picZoom->isHidden());
}

void tst_PicNavigation::anyMouseButtonPresses()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(1001, 777));
    ImagePanel *down = f.e().picButton[8];
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        sendMouse(down, QEvent::MouseButtonPress, {8, 8}, button, button);
        QVERIFY(f.e().tmrScrollDown->isActive());
        QCOMPARE(down->image(), f.e().picDown[8]);
        sendMouse(down, QEvent::MouseButtonRelease, {8, 8}, button, Qt::NoButton);
        QVERIFY(!f.e().tmrScrollDown->isActive());
        QCOMPARE(down->image(), f.e().picUp[8]);
    }
}

void tst_PicNavigation::scrollTicks()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(1001, 426)); // 150 to scroll down
    click(*f.control, 9);
    ImagePanel &lens = *f.e().picZoom;

    // From -5 at speed 10 the picture stops at 0; the lens takes the whole step back.
    f.e().picMain->setLeft(-5);
    const float lensLeft = lens.Left();
    f.e().tmrScrollLeft->start();
    f.control->tmrScrollLeft_Timer();
    QCOMPARE(f.e().picMain->Left(), 0.0f);
    QCOMPARE(lens.Left(), lensLeft - 10);
    QVERIFY(!f.e().tmrScrollLeft->isActive());
    // At the edge a tick does nothing at all.
    f.e().picInsert->setLeft(3);
    f.control->tmrScrollLeft_Timer();
    QCOMPARE(lens.Left(), lensLeft - 10);
    QCOMPARE(f.e().picInsert->Left(), 3.0f);

    f.control->setScrollSpeed(400);
    f.e().tmrScrollDown->start();
    f.control->tmrScrollDown_Timer();
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
    f.control->tmrScrollRight_Timer();
    QCOMPARE(f.e().picMain->Left(), centred);
}

void tst_PicNavigation::speedList()
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
    f.control->Combo1_EditingFinished();
    QCOMPARE(f.control->ScrollSpeed(), qint16(400));
    QCOMPARE(box.text(), QStringLiteral("400"));

    box.clear();
    QTest::keyClicks(&box, QStringLiteral("fast"));
    f.control->Combo1_EditingFinished();
    QCOMPARE(box.text(), QStringLiteral("400"));

    f.e().Combo1->setCurrentIndex(14);
    QCOMPARE(f.control->ScrollSpeed(), qint16(150));
}

void tst_PicNavigation::lensSizeAndMagnification()
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
    click(*f.control, 9);
    QVERIFY(!f.e().picZoom->isHidden());
    const QPointF corner(f.e().picZoom->Left(), f.e().picZoom->Top());
    f.e().Combo2->setEditText(QStringLiteral("Medium")); // 113 still fits: resized in place
    QCOMPARE(QPointF(f.e().picZoom->Left(), f.e().picZoom->Top()), corner);
    QCOMPARE(f.e().picZoom->image().size(), QSize(113, 113));
    f.e().Combo2->setEditText(QStringLiteral("Large"));
    QCOMPARE(f.platform.messages, QStringList{"Glyphsmith: Increase picture size,\r\nor decrease zoom lens size first!"});
    QVERIFY(f.e().picZoom->isHidden());
    QCOMPARE(f.e().picZoom->Width(), 160.0f);
    QCOMPARE(f.m().mLenzSize, 2);
    f.e().Combo2->setEditText(QStringLiteral("Huge"));
    QCOMPARE(f.m().mLenzSize, 2);
}

void tst_PicNavigation::lensConfinement()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(1001, 777));
    click(*f.control, 9);
    ImagePanel &lens = *f.e().picZoom;
    lens.Move(1001 - 67 + 7, 40);
    f.platform.pointer = {500, 500};
    f.control->tmrZoom_Timer();
    QCOMPARE(f.platform.pointer, QPoint(493, 500));
    QCOMPARE(lens.Left(), 934.0f);
    lens.setTop(-4);
    f.control->tmrZoom_Timer();
    QCOMPARE(f.platform.pointer, QPoint(493, 504));
    QCOMPARE(lens.Top(), 0.0f);
}

void tst_PicNavigation::lensPressesAndDrag()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(1001, 777));
    click(*f.control, 9);
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
        click(*f.control, 9);
        f.e().tmrZoom->start();
        sendMouse(&lens, QEvent::MouseButtonPress, {10, 10}, button, button);
        QVERIFY(lens.isHidden());
        QVERIFY(!f.e().tmrZoom->isActive());
    }
}

void tst_PicNavigation::trackingStops()
{
    ViewerFixture f;
    f.control->setPicture(tracedPicture(1001, 777));
    click(*f.control, 9);
    f.e().tmrZoom->start();
    f.e().tmrInsert->start();
    // Over the lens the tracking goes on after the drag; over the picture itself it stops.
    sendMouse(f.e().picZoom, QEvent::MouseMove, {3, 3}, Qt::NoButton, Qt::NoButton);
    QVERIFY(f.e().tmrZoom->isActive());
    sendMouse(f.e().picMain, QEvent::MouseMove, {3, 3}, Qt::NoButton, Qt::NoButton);
    QVERIFY(!f.e().tmrZoom->isActive() && !f.e().tmrInsert->isActive());

    f.e().tmrZoom->start();
    f.e().tmrInsert->start();
    f.control->picButton_MouseDown(3, 1, 0, 0, 0);
    QVERIFY(!f.e().tmrZoom->isActive() && !f.e().tmrInsert->isActive());
}

QTEST_MAIN(tst_PicNavigation)
#include "tst_picnavigation.moc"
