#pragma once

#include "app/Platform.h"

#include <QElapsedTimer>

// The desktop services of a running program.
class QtPlatform : public Platform
{
public:
    QtPlatform();

    void showMessage(QWidget *parent, const QString &title, const QString &text) override;
    std::optional<QString> openFileName(QWidget *parent, const FileDialogRequest &request) override;
    std::optional<QString> saveFileName(QWidget *parent, const FileDialogRequest &request) override;
    bool openFile(const QString &path) override;
    bool openWebPage(const QString &address) override;
    QString setting(const SettingKey &key, const QString &defaultValue) override;
    void saveSetting(const SettingKey &key, const QString &value) override;
    qint64 clockMs() override;
    RampFile::Folders rampFolders() override;

private:
    QElapsedTimer m_clock;
};
