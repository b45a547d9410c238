#include "app/QtPlatform.h"

#include "engine/text/modFile.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QMessageBox>
#include <QSettings>
#include <QUrl>

namespace {

// Where the dialog opens: the name filled in, in the folder asked for.
QString startOf(const FileDialogRequest &request)
{
    if (request.folder.isEmpty())
        return request.fileName;
    return QDir(request.folder).filePath(QFileInfo(request.fileName).fileName());
}

std::optional<QString> chosen(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace

QtPlatform::QtPlatform() { m_clock.start(); }

void QtPlatform::showMessage(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<QString> QtPlatform::openFileName(QWidget *parent, const FileDialogRequest &request)
{
    return chosen(QFileDialog::getOpenFileName(parent, request.title, startOf(request), request.filter));
}

std::optional<QString> QtPlatform::saveFileName(QWidget *parent, const FileDialogRequest &request)
{
    return chosen(QFileDialog::getSaveFileName(parent, request.title, startOf(request), request.filter, nullptr,
                                               QFileDialog::DontConfirmOverwrite));
}

bool QtPlatform::openFile(const QString &path) { return modFile::ShellOpen(path); }

bool QtPlatform::openWebPage(const QString &address) { return QDesktopServices::openUrl(QUrl(address)); }

QString QtPlatform::setting(const SettingKey &key, const QString &defaultValue)
{
    QSettings store(QCoreApplication::organizationName(), key.application);
    store.beginGroup(key.section);
    return store.value(key.key, defaultValue).toString();
}

void QtPlatform::saveSetting(const SettingKey &key, const QString &value)
{
    QSettings store(QCoreApplication::organizationName(), key.application);
    store.beginGroup(key.section);
    store.setValue(key.key, value);
}

qint64 QtPlatform::clockMs() { return m_clock.elapsed(); }

RampFile::Folders QtPlatform::rampFolders() { return RampFile::foldersFor(QCoreApplication::applicationDirPath()); }
