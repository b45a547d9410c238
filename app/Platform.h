#pragma once

#include "engine/text/RampFile.h"

#include <QString>
#include <QtGlobal>
#include <optional>

class QWidget;
class ViewerPlatform;

// What a file dialog shows: its title, its filter in Qt's syntax, the name filled in and the
// folder it starts in (empty: the platform's choice).
struct FileDialogRequest
{
    QString title;
    QString filter;
    QString fileName;
    QString folder;
};

// One text value of the per-user settings store.
struct SettingKey
{
    QString application;
    QString section;
    QString key;
};

// The desktop services the windows use, kept behind one interface so tests never show a modal
// box, open a file on the desktop or touch the user's own settings.
class Platform
{
public:
    virtual ~Platform() = default;

    // A modal box with the information icon and an OK button.
    virtual void showMessage(QWidget *parent, const QString &title, const QString &text) = 0;
    // The chosen path; nothing when the user cancels.
    virtual std::optional<QString> openFileName(QWidget *parent, const FileDialogRequest &request) = 0;
    // As openFileName, without asking before an existing file is chosen.
    virtual std::optional<QString> saveFileName(QWidget *parent, const FileDialogRequest &request) = 0;
    // Hands a finished file to the desktop's default handler; whether it was handed on.
    virtual bool openFile(const QString &path) = 0;
    virtual bool openWebPage(const QString &address) = 0;
    // The stored text, or `defaultValue` when the key is missing or the store cannot be read.
    virtual QString setting(const SettingKey &key, const QString &defaultValue) = 0;
    // Creates or replaces the value; a store that cannot be written loses it silently.
    virtual void saveSetting(const SettingKey &key, const QString &value) = 0;
    // Milliseconds since some fixed start; only differences count.
    virtual qint64 clockMs() = 0;
    // Where the ramp list may live: beside the program, the user's and the installed copies.
    virtual RampFile::Folders rampFolders() = 0;
    // What the picture viewer takes from the desktop; nothing for the desktop's own.
    virtual ViewerPlatform *viewerPlatform() { return nullptr; }
};
