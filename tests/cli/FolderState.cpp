#include "FolderState.h"

#include <QDir>
#include <QFile>
#include <QStringList>

FolderState::FolderState(const QString &folder)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        QByteArray contents;
        if (entry.isSymLink()) {
            contents = "-> " + entry.symLinkTarget().toUtf8();
        } else if (entry.isFile()) {
            QFile file(entry.filePath());
            contents = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
        }
        m_entries.insert(entry.fileName(), contents);
    }
}

QString FolderState::differencesFrom(const FolderState &before) const
{
    QStringList differences;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (!before.m_entries.contains(it.key()))
            differences << QStringLiteral("new: ") + it.key();
        else if (before.m_entries.value(it.key()) != it.value())
            differences << QStringLiteral("changed: ") + it.key();
    }
    for (auto it = before.m_entries.cbegin(); it != before.m_entries.cend(); ++it) {
        if (!m_entries.contains(it.key()))
            differences << QStringLiteral("gone: ") + it.key();
    }
    differences.sort();
    return differences.join(QStringLiteral(", "));
}
