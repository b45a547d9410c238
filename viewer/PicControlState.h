#pragma once

#include <QImage>
#include <QtGlobal>

// The member state of one picture viewer control; everything else lives in its child elements.
struct PicControlState
{
    QImage mPicture;          // the picture assigned through the Picture property
    qint32 mPicWidth = 0;     // its natural size in pixels
    qint32 mPicHeight = 0;
    float mMagnify = 2.0f;    // lens magnification: 1.5, 2.0, 2.5 or 3.0
    qint32 mLenzSize = 0;     // 0 small, 1 medium, 2 large
    qint32 mAlignNavBar = 2;  // 0 left, 1 right, 2 centred
    // How far the picture overhangs the viewport, negative when it is smaller. Held in 32 bits:
    // a photo at 600 % overhangs by far more than 16 bits hold.
    qint32 mScrollRangeX = 0;
    qint32 mScrollRangeY = 0;
    qint16 mScrollSpeed = 10; // pixels per scroll tick, 10..400
    qint32 mBorderStyle = 0;
    qint32 mAppearance = 0;
    bool mCenteredX = false;  // narrower than the viewport, so centred and not scrolled across
    bool mCenteredY = false;
    bool mAtLeft = false;     // the edge a corner jump last put the view at while the lens showed
    bool mAtRight = false;
    bool mAtBottom = false;
    bool mAtTop = false;
};
