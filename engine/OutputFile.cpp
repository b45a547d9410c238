#include "OutputFile.h"

#include "Windows1252.h"

void OutputFile::writeLine(const QString &line)
{
    m_file.write(Windows1252::encode(line));
    m_file.write("\r\n", 2);
}

void OutputFile::writeLines(const QStringList &lines)
{
    for (const QString &line : lines)
        writeLine(line);
}
