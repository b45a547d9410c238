#include "engine/text/internal/OutputFile.h"

#include "engine/text/FileChecks.h"
#include "engine/text/internal/RawNameSaveFile.h"
#include "engine/text/NameBytes.h"

#include <QFile>
#include <QSaveFile>

OutputFile::OutputFile(const QString &path, LineFormat format) : m_path(path), m_format(std::move(format))
{
    if (FileChecks::isStream(path))
        m_file = std::make_unique<QFile>(path);
    else if (!NameBytes::isText(path))
        m_file = std::make_unique<RawNameSaveFile>(NameBytes::toBytes(path));
    else
        m_file = std::make_unique<QSaveFile>(path);
}

OutputFile::~OutputFile() = default;

bool OutputFile::open()
{
    // Reopened by name, a descriptor's file would be truncated; written as it stands, it keeps
    // what the shell put before (">>", or lines already written through it).
    if (const std::optional<int> descriptor = FileChecks::descriptorNamedBy(m_path))
        return static_cast<QFile &>(*m_file).open(*descriptor, QIODevice::WriteOnly, QFileDevice::DontCloseHandle);
    return m_file->open(QIODevice::WriteOnly);
}

void OutputFile::writeLine(const QString &line)
{
    m_file->write(m_format.encode(line));
    m_file->write(m_format.lineEnd);
}

void OutputFile::writeLines(const QStringList &lines)
{
    for (const QString &line : lines)
        writeLine(line);
}

bool OutputFile::commit()
{
    if (auto *replacement = qobject_cast<QSaveFile *>(m_file.get()))
        return replacement->commit();
    if (auto *replacement = dynamic_cast<RawNameSaveFile *>(m_file.get()))
        return replacement->commit();
    return m_file->flush() && m_file->error() == QFileDevice::NoError;
}

QString OutputFile::errorString() const { return m_file->errorString(); }
