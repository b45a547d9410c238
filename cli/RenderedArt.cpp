#include "cli/RenderedArt.h"

#include "engine/render/ArtRenderer.h"

#include <QImage>
#include <QSaveFile>

bool saveRenderedArt(const QString &path, const QStringList &rows, quint8 detail, int scale)
{
    const QImage art = ArtRenderer::render(rows, detail, scale);
    if (art.isNull())
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && art.save(&file, "PNG") && file.commit();
}
