#pragma once

#include "engine/text/LineFormat.h"

#include <QString>
#include <QStringList>
#include <memory>

class QFileDevice;

// The file a run writes, line by line in `format`, written beside the target and moved over it
// only by commit(), so an abandoned or failed file never replaces the old one. A stream
// (standard output, a device) is written straight through instead: renamed over, the file
// behind it would be lost.
class OutputFile
{
public:
    OutputFile(const QString &path, LineFormat format);
    ~OutputFile();

    bool open();
    void writeLine(const QString &line);
    void writeLines(const QStringList &lines);
    // False when any write failed; the target is then left as it was, unless it is a stream.
    bool commit();
    // Why opening, writing or committing failed, in the system's words.
    QString errorString() const;

private:
    QString m_path;
    LineFormat m_format;
    std::unique_ptr<QFileDevice> m_file;
};
