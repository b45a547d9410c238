#include "IcoFile.h"
#include "IconArtwork.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

// Writes abc-<size>.png for every icon size and abc.ico holding all of them into the folder
// given as the only argument (resources/icons when regenerating the committed files).
int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw-artwork OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QList<QImage> images;
    for (const int size : IconArtwork::sizes) {
        images.append(IconArtwork::paint(size));
        const QString path = folder.filePath(QStringLiteral("abc-%1.png").arg(size));
        if (!images.last().save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    QFile ico(folder.filePath(QStringLiteral("abc.ico")));
    if (!ico.open(QIODevice::WriteOnly) || ico.write(icoFile(images)) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(ico.fileName()));
        return 1;
    }
    return 0;
}
