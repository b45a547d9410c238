#pragma once

#include <QSaveFile>
#include <QString>
#include <QStringList>

// The file a run writes: lines in Windows-1252, each ended by CR LF, written beside the target
// and moved over it only by commit(), so an abandoned or failed file never replaces the old one.
class OutputFile
{
public:
    explicit OutputFile(const QString &path) : m_file(path) {}

    bool open() { return m_file.open(QIODevice::WriteOnly); }
    void writeLine(const QString &line);
    void writeLines(const QStringList &lines);
    // False when any write failed; the target is then left as it was.
    bool commit() { return m_file.commit(); }

private:
    QSaveFile m_file;
};
