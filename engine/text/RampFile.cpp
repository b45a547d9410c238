#include "engine/text/RampFile.h"

#include "engine/text/modFile.h"
#include "engine/text/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSaveFile>

namespace RampFile {

QString pathIn(const QString &programFolder)
{
    return modFile::AddBackslash(programFolder) + fileName;
}

Folders foldersFor(const QString &programFolder)
{
    const QString own = QStringLiteral("glyphsmith");
    const QString prefix = QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral("../share/") + own));
    Folders folders{programFolder, QString(), {}, prefix};
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!home.isEmpty())
        folders.user = QDir(home).filePath(own);
    for (const QString &dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        if (dir != home)
            folders.installed << QDir(dir).filePath(own);
    }
    return folders;
}

QStringList searched(const Folders &folders)
{
    QStringList candidates{folders.program, folders.user};
    candidates << folders.installed << folders.prefix;
    candidates.removeAll(QString());
    candidates.removeDuplicates();
    return candidates;
}

QString pathToRead(const Folders &folders)
{
    for (const QString &folder : searched(folders)) {
        if (QFileInfo::exists(pathIn(folder)))
            return pathIn(folder);
    }
    return pathIn(folders.program);
}

QString pathToWrite(const Folders &folders)
{
    if (QFileInfo(folders.program).isWritable() || folders.user.isEmpty())
        return pathIn(folders.program);
    QDir().mkpath(folders.user);
    return pathIn(folders.user);
}

QStringList parse(QByteArrayView contents)
{
    QStringList ramps;
    qsizetype pos = 0;
    do {
        qsizetype end = pos;
        while (end < contents.size() && contents[end] != '\r' && contents[end] != '\n')
            ++end;
        ramps << Windows1252::decode(contents.sliced(pos, end - pos));
        pos = end + 1;
        if (pos < contents.size() && contents[end] == '\r' && contents[pos] == '\n')
            ++pos;
    } while (pos < contents.size());
    return ramps;
}

QStringList read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QString()};
    return parse(file.readAll());
}

bool write(const QString &path, const QStringList &ramps)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const QString &ramp : ramps) {
        file.write(Windows1252::encode(ramp));
        file.write("\r\n", 2);
    }
    return file.commit();
}

} // namespace RampFile
