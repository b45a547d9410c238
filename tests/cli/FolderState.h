#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// Every entry of a folder, hidden ones included, with the bytes of each file; comparing two
// snapshots shows a file that appeared, vanished or changed, such as a forgotten temporary file.
class FolderState
{
public:
    explicit FolderState(const QString &folder);

    bool operator==(const FolderState &other) const = default;
    // The names that differ from `before`, for a failure message.
    QString differencesFrom(const FolderState &before) const;

private:
    QHash<QString, QByteArray> m_entries; // a folder maps to an empty value, a symbolic link to its target
};
