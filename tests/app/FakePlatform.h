#pragma once

#include "Platform.h"

#include <QList>
#include <QMap>
#include <QStringList>
#include <deque>
#include <functional>

// Stands in for the desktop: records what the window asks for and answers from queues.
class FakePlatform : public Platform
{
public:
    struct Message
    {
        QString title;
        QString text;
    };

    QList<Message> messages;
    QList<FileDialogRequest> openRequests;
    QList<FileDialogRequest> saveRequests;
    std::deque<std::optional<QString>> openAnswers; // nothing queued means Cancel
    std::deque<std::optional<QString>> saveAnswers;
    QStringList openedFiles;
    QStringList webPages;
    QMap<QString, QString> store; // "application/section/key" -> text
    int storeWrites = 0;
    qint64 now = 0;
    qint64 clockStep = 0;         // added after every reading
    std::function<void()> onClock; // called at every reading, before the step
    QString folder;

    static QString storeKey(const QString &key) { return QStringLiteral("Glyphsmith/Options/") + key; }

    void showMessage(QWidget *parent, const QString &title, const QString &text) override;
    std::optional<QString> openFileName(QWidget *parent, const FileDialogRequest &request) override;
    std::optional<QString> saveFileName(QWidget *parent, const FileDialogRequest &request) override;
    bool openFile(const QString &path) override;
    bool openWebPage(const QString &address) override;
    QString setting(const SettingKey &key, const QString &defaultValue) override;
    void saveSetting(const SettingKey &key, const QString &value) override;
    qint64 clockMs() override;
    QString programFolder() override { return folder; }
};
