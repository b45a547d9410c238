#include "TestFolder.h"

#include <QDir>
#include <QFile>
#include <QImage>

TestFolder::TestFolder() = default;

QString TestFolder::path(const QString &name) const { return m_dir.filePath(name); }

QStringList TestFolder::entries() const
{
    return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QString TestFolder::writeFile(const QString &name, const QByteArray &contents) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

QByteArray TestFolder::readFile(const QString &name) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString TestFolder::writeChessboard(const QString &name, int columns, int rows, int blockWidth, int blockHeight) const
{
    QImage image(columns * blockWidth, rows * blockHeight, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool black = (x / blockWidth + y / blockHeight) % 2 == 0;
            image.setPixel(x, y, black ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    if (!image.save(path(name)))
        qFatal("cannot save %s", qPrintable(name));
    return path(name);
}

QString TestFolder::writeGradient(const QString &name, int width, int height) const
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x * 7 + y * 13) % 256));
    }
    if (!image.save(path(name)))
        qFatal("cannot save %s", qPrintable(name));
    return path(name);
}
