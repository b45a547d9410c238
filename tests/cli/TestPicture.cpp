#include "TestPicture.h"

#include <QImage>

#include <algorithm>

bool writeHalvesPicture(const QString &path, const QSize &size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::black);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        std::fill(line, line + size.width() / 2, qRgb(255, 255, 255));
    }
    return picture.save(path);
}

bool writeGradientPicture(const QString &path, const QSize &size)
{
    QImage picture(size, QImage::Format_RGB32);
    auto *first = reinterpret_cast<QRgb *>(picture.scanLine(0));
    for (int x = 0; x < size.width(); ++x) {
        const int grey = 255 - x * 255 / std::max(1, size.width() - 1);
        first[x] = qRgb(grey, grey, grey);
    }
    for (int y = 1; y < size.height(); ++y)
        std::copy(first, first + size.width(), reinterpret_cast<QRgb *>(picture.scanLine(y)));
    return picture.save(path);
}
