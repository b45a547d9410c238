#pragma once

#include <QByteArray>
#include <QList>

class QImage;

// A Windows icon file holding `images` in the given order, each as a 32-bit DIB with alpha
// plus the 1-bit mask older readers draw with (set where alpha is 0). Sides above 256 are
// not representable and must not be passed.
QByteArray icoFile(const QList<QImage> &images);
