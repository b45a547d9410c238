#include "engine/text/modFile.h"

#include "engine/text/OutputKinds.h"

#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QUrl>

namespace modFile {

QString GetExtension(const QString &path)
{
    const qsizetype nameStart = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < nameStart)
        return {};
    const qsizetype length = path.size() - dot - 1;
    if (length >= 255)
        return {};
    return path.mid(dot + 1);
}

QString AddBackslash(const QString &folder)
{
    if (folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder;
    return folder + QDir::separator();
}

bool isSafeToOpen(const QString &path)
{
    return kindExtensions().contains(GetExtension(path), Qt::CaseInsensitive);
}

bool ShellOpen(const QString &path)
{
    if (!isSafeToOpen(path))
        return false;
    const QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    // The desktop services need a GUI application; a command-line caller hands the file to
    // the desktop's opener directly.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return QDesktopServices::openUrl(url);
#if defined(Q_OS_WIN)
    return QProcess::startDetached(QStringLiteral("cmd"), {QStringLiteral("/c"), QStringLiteral("start"), QString(), QDir::toNativeSeparators(url.toLocalFile())});
#elif defined(Q_OS_MACOS)
    return QProcess::startDetached(QStringLiteral("open"), {url.toLocalFile()});
#else
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString()});
#endif
}

} // namespace modFile
