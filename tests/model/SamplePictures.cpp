#include "SamplePictures.h"

#include <QDir>
#include <QImage>
#include <QRandomGenerator>

namespace {

QString save(const QImage &image, const QString &folder, const QString &name)
{
    const QString path = QDir(folder).filePath(name);
    return image.save(path) ? path : QString();
}

// Row 0 walks the greys 0..255, so one-pixel cells meet every band limit of every ramp.
QImage everyGrey()
{
    QImage image(256, 2, QImage::Format_RGB32);
    for (int x = 0; x < 256; ++x) {
        image.setPixel(x, 0, qRgb(x, x, x));
        image.setPixel(x, 1, qRgb(x, 255 - x, x / 2));
    }
    return image;
}

// Odd sides make halves in the scaled sizes; random colours make cell means that end in one half.
QImage oddNoise()
{
    QRandomGenerator random(20240601);
    QImage image(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(random.bounded(256), random.bounded(256), random.bounded(256)));
    return image;
}

QImage gradedAlpha()
{
    QImage image(50, 17, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgba((x * 37) % 256, (y * 53) % 256, (x * y) % 256, (x * 9 + y * 15) % 256));
    return image;
}

QImage threeByOne()
{
    QImage image(3, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    image.setPixel(1, 0, qRgb(128, 64, 32));
    image.setPixel(2, 0, qRgb(255, 255, 255));
    return image;
}

} // namespace

QStringList writeSamplePictures(const QString &folder)
{
    return {save(everyGrey(), folder, QStringLiteral("made-every-grey.png")),
            save(oddNoise(), folder, QStringLiteral("made-odd-noise.bmp")),
            save(gradedAlpha(), folder, QStringLiteral("made-graded-alpha.png")),
            save(threeByOne(), folder, QStringLiteral("made-three-by-one.png"))};
}
