#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A scratch folder for one test: ramp lists, pictures and outputs.
class TestFolder
{
public:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // The names in the folder, sorted; a run's temporary file would show up here.
    QStringList entries() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    QString writeFile(const QString &name, const QByteArray &contents) const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            qFatal("cannot write %s", qPrintable(name));
        return path(name);
    }

    QByteArray readFile(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
};
