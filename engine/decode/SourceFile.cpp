#include "engine/decode/SourceFile.h"

#include "engine/text/FileChecks.h"
#include "engine/text/NameBytes.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

} // namespace

SourceFile::SourceFile(const QString &path, StopSource stop) : m_path(path), m_stop(std::move(stop))
{
    m_problem = open();
    if (!m_problem.isEmpty() && m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

SourceFile::~SourceFile()
{
    if (m_mapped)
        ::munmap(const_cast<char *>(m_data), std::size_t(m_size));
    if (m_fd >= 0)
        ::close(m_fd);
}

bool SourceFile::isNamedBy(const QString &path) const
{
    struct stat status{};
    return isOpen() && ::stat(NameBytes::toBytes(path).constData(), &status) == 0 && quint64(status.st_dev) == m_identity.device
           && quint64(status.st_ino) == m_identity.inode;
}

QString SourceFile::open()
{
    if (const std::optional<QString> problem = FileChecks::sourceProblem(m_path))
        return *problem;
    m_fd = ::open(NameBytes::toBytes(m_path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    struct stat status{};
    if (m_fd < 0 || ::fstat(m_fd, &status) != 0)
        return systemReason(errno);
    if (!S_ISREG(status.st_mode))
        return QStringLiteral("not a regular file"); // put in its place since it was checked
    m_identity = {quint64(status.st_dev), quint64(status.st_ino), qint64(status.st_size), qint64(status.st_ctim.tv_sec),
                  qint64(status.st_ctim.tv_nsec)};
    if (status.st_size == 0)
        return {};
    // Mapped, the file's pages are the system's file cache, shared by every reader; nothing is copied.
    void *mapped = ::mmap(nullptr, std::size_t(status.st_size), PROT_READ, MAP_PRIVATE, m_fd, 0);
    if (mapped != MAP_FAILED) {
        m_data = static_cast<const char *>(mapped);
        m_size = qsizetype(status.st_size);
        m_mapped = true;
        return {};
    }
    return readWhole(status.st_size) ? QString() : systemReason(errno ? errno : EIO);
}

bool SourceFile::readWhole(qint64 size)
{
    m_read.resize(size);
    errno = 0;
    for (qint64 done = 0; done < size;) {
        const ssize_t got = ::pread(m_fd, m_read.data() + done, std::size_t(size - done), done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += got;
    }
    m_data = m_read.constData();
    m_size = m_read.size();
    return true;
}
