#pragma once

#include <QByteArrayView>
#include <QImage>

// Qt 6.4's bitmap reader widens a channel of fewer than 8 bits (16-bit 5-5-5 and 5-6-5 files,
// bit-field files) by a left shift alone, so 5-bit white comes out as 248. This widens each such
// channel of `image`, as read from the bitmap file `file`, to round(v x 255 / max) for its own
// bit count. The top bits of a widened channel still hold v, so a reader that already widens
// correctly gives the same result. Other files leave `image` as it was.
void widenBitmapChannels(QImage &image, QByteArrayView file);
