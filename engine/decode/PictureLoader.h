#pragma once

#include "engine/decode/MemoryBudget.h"
#include "engine/StopToken.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

class SourceFile;

// Reads picture files: bitmap, JPEG, GIF (its first frame), icon and cursor files (their largest
// image) and PNG, plus whatever other formats the installed image plugins decode. Photos are
// turned upright by their EXIF orientation. Only regular files are opened. Where a picture does
// not load, `whyNot`, when given, receives the reason in the user's words.
namespace PictureLoader {

inline constexpr QLatin1String cutShort{"the picture data stops early"};
inline constexpr QLatin1String damaged{"the picture data is damaged"};

// The picture's size as it will load, read from the file's header without decoding it;
// nothing when the file is not open or not a picture.
std::optional<QSize> peekSize(const SourceFile &source, QString *whyNot = nullptr);
// The same for the file at `path`, opened for it alone.
std::optional<QSize> peekSize(const QString &path, QString *whyNot = nullptr);

// The whole picture in Format_RGB32, transparent pixels composited over white; nothing when
// the file is not open, undecodable or cut short, or once the source's stop is requested.
// Throws MemoryBudget::Exceeded, before decoding, when what the header declares would take more
// than `budget`, and std::bad_alloc when the picture does not fit in memory.
std::optional<QImage> load(const SourceFile &source, QString *whyNot = nullptr, const MemoryBudget &budget = MemoryBudget::standard());
// The same for the file at `path`, opened once for it; `stop` ends the decoding when requested.
std::optional<QImage> load(const QString &path, QString *whyNot = nullptr, StopSource stop = {});

// Composites `image` over white into Format_RGB32, in place when nothing else shares it: each
// channel becomes round((c x a + 255 x (255 - a)) / 255) with c, a its straight values.
QImage overWhite(QImage image);

} // namespace PictureLoader
