#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <optional>


// Reads picture files: bitmap, JPEG, GIF (its first frame), icon and cursor files (their largest
// image) and PNG, plus whatever other formats the installed image plugins decode. Photos are
// turned upright by their EXIF orientation.
namespace PictureLoader {

// The picture's size as it will load, read from the file's header without decoding it;
// nothing when the file is missing or not a picture.
std::optional<QSize> peekSize(const QString &path);

// The whole picture in Format_RGB32, transparent pixels composited over white; nothing when
// the file is missing, undecodable or cut short.
std::optional<QImage> load(const QString &path);

// Composites `image` over white into Format_RGB32: each channel becomes
// round((c x a + 255 x (255 - a)) / 255) with c, a its straight (not premultiplied) values.
QImage overWhite(const QImage &image);

} // namespace PictureLoader
