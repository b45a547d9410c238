#include "cli/RenderedArt.h"

#include "engine/render/ArtRenderer.h"

#include <QImage>
#include <QSaveFile>

bool saveRenderedArt(const QString &path, const QStringList &rows, quint8 detail, const ArtColours &colours, bool darkGround,
                     int scale)
{
    const QImage art = ArtRenderer::render(rows, detail, colours, darkGround, scale);
    if (art.isNull())
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && art.save(&file, "PNG") && file.commit();
}
