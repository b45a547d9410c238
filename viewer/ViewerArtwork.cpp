#include "viewer/ViewerArtwork.h"

namespace {

// The file of `name` under the control's resources, the 2x drawing on a high-density screen.
QString resource(const QString &name, qreal devicePixelRatio)
{
    return QStringLiteral(":/viewer/%1%2.png").arg(name, devicePixelRatio > 1 ? QStringLiteral("@2x") : QString());
}

QImage drawing(const QString &name, qreal devicePixelRatio)
{
    QImage image(resource(name, devicePixelRatio));
    if (image.isNull())
        image = QImage(resource(name, 1));
    else if (devicePixelRatio > 1)
        image.setDevicePixelRatio(2);
    return image;
}

} // namespace

QImage ViewerArtwork::buttonFace(Face face, int index, qreal devicePixelRatio)
{
    const QString kind = face == Face::Design ? QStringLiteral("design") : face == Face::Up ? QStringLiteral("up") : QStringLiteral("down");
    return drawing(QStringLiteral("buttons/%1-%2").arg(kind).arg(index), devicePixelRatio);
}

QPixmap ViewerArtwork::background(const QString &name, qreal devicePixelRatio)
{
    return QPixmap::fromImage(drawing(QStringLiteral("backgrounds/") + name, devicePixelRatio));
}

QCursor ViewerArtwork::handCursor(qreal devicePixelRatio)
{
    const QImage hand = drawing(QStringLiteral("cursors/hand"), devicePixelRatio);
    if (hand.isNull())
        return QCursor(Qt::OpenHandCursor);
    return QCursor(QPixmap::fromImage(hand), 9, 11);
}
