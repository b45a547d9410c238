#pragma once

#include "FakeViewerPlatform.h"
#include "Platform.h"

#include <QMap>
#include <QStringList>
#include <functional>
#include <utility>

// Stands in for the desktop: records what the window asks for and answers dialogs from a list.
class FakePlatform : public Platform
{
public:
    QStringList messages;             // "title: text"
    QList<FileDialogRequest> dialogs; // Open and Save alike
    QStringList answers;              // what the next dialogs choose; none left means Cancel
    QStringList openedFiles;
    QMap<QString, QString> store;     // "application/section/key" -> text
    qint64 clockStep = 0;             // added after every reading
    std::function<void()> onClock;    // called at every reading
    QString folder;      // the program's folder
    QString userFolder;  // the user's own copy of the ramp list; none when empty
    QStringList installedFolders;
    FakeViewerPlatform viewer;

    void showMessage(QWidget *, const QString &title, const QString &text) override { messages << title + QStringLiteral(": ") + text; }
    std::optional<QString> openFileName(QWidget *, const FileDialogRequest &request) override { return answer(request); }
    std::optional<QString> saveFileName(QWidget *, const FileDialogRequest &request) override { return answer(request); }
    bool openFile(const QString &path) override
    {
        openedFiles << path;
        return true;
    }
    bool openWebPage(const QString &) override { return true; }
    QString setting(const SettingKey &key, const QString &defaultValue) override { return store.value(pathOf(key), defaultValue); }
    void saveSetting(const SettingKey &key, const QString &value) override { store.insert(pathOf(key), value); }
    qint64 clockMs() override
    {
        if (onClock)
            onClock();
        return std::exchange(m_now, m_now + clockStep);
    }
    ViewerPlatform *viewerPlatform() override { return &viewer; }
    RampFile::Folders rampFolders() override { return {folder, userFolder, installedFolders}; }

private:
    static QString pathOf(const SettingKey &key) { return key.application + u'/' + key.section + u'/' + key.key; }
    std::optional<QString> answer(const FileDialogRequest &request)
    {
        dialogs << request;
        return answers.isEmpty() ? std::nullopt : std::optional(answers.takeFirst());
    }

    qint64 m_now = 0;
};
