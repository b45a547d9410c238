#include "resources/artwork/ButtonFaces.h"
#include "resources/artwork/HandCursor.h"
#include "resources/artwork/IcoFile.h"
#include "resources/artwork/IconArtwork.h"
#include "resources/artwork/ViewerBackgrounds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <array>
#include <cstdio>
#include <functional>
#include <utility>

namespace {

bool save(const QImage &image, const QDir &folder, const QString &name)
{
    const QString path = folder.filePath(name);
    if (!folder.mkpath(QFileInfo(name).path()) || !image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// abc-<size>.png for every icon size and abc.ico holding all of them.
bool writeIcons(const QDir &folder)
{
    QList<QImage> images;
    for (const int size : IconArtwork::sizes) {
        images.append(IconArtwork::paint(size));
        if (!save(images.last(), folder, QStringLiteral("abc-%1.png").arg(size)))
            return false;
    }
    QFile ico(folder.filePath(QStringLiteral("abc.ico")));
    if (!ico.open(QIODevice::WriteOnly) || ico.write(icoFile(images)) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(ico.fileName()));
        return false;
    }
    return true;
}

// `name`.png at 1x and `name`@2x.png, the names Qt picks between by the screen's density.
bool saveBothScales(const std::function<QImage(int)> &paint, const QDir &folder, const QString &name)
{
    return save(paint(1), folder, name + QStringLiteral(".png"))
        && save(paint(2), folder, name + QStringLiteral("@2x.png"));
}

bool writeViewerArtwork(const QDir &folder)
{
    using ButtonFaces::Face;
    const std::array<std::pair<Face, QString>, 3> faces{{
        {Face::Up, QStringLiteral("up")},
        {Face::Down, QStringLiteral("down")},
        {Face::Design, QStringLiteral("design")},
    }};
    for (int index = 0; index < ButtonFaces::count; ++index) {
        for (const auto &[face, prefix] : faces) {
            const auto paint = [index, face](int scale) { return ButtonFaces::paint(index, face, scale); };
            if (!saveBothScales(paint, folder, QStringLiteral("buttons/%1-%2").arg(prefix).arg(index)))
                return false;
        }
    }
    using ViewerBackgrounds::Panel;
    const auto tools = [](int scale) { return ViewerBackgrounds::paint(Panel::Tools, scale); };
    const auto navbar = [](int scale) { return ViewerBackgrounds::paint(Panel::Navbar, scale); };
    return saveBothScales(tools, folder, QStringLiteral("backgrounds/tools"))
        && saveBothScales(navbar, folder, QStringLiteral("backgrounds/navbar"))
        && saveBothScales(HandCursor::paint, folder, QStringLiteral("cursors/hand"));
}

} // namespace

// Writes the program icons into resources/icons/ and the picture viewer's artwork into
// viewer/artwork/ under the folder given as the only argument (the source root when regenerating
// the committed files).
int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw-artwork SOURCE_ROOT\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const bool written = writeIcons(QDir(root.filePath(QStringLiteral("resources/icons"))))
        && writeViewerArtwork(QDir(root.filePath(QStringLiteral("viewer/artwork"))));
    return written ? 0 : 1;
}
