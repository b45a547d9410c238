#include "engine/text/internal/RawNameSaveFile.h"

#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// A symbolic link stays, and the file it leads to is replaced, even one not there yet; a loop of
// links is left to fail when written.
QByteArray followedLinks(const QByteArray &name)
{
    std::filesystem::path path = name.toStdString();
    std::error_code error;
    for (int links = 0; links < 40 && std::filesystem::is_symlink(path, error); ++links)
        path = path.parent_path() / std::filesystem::read_symlink(path, error);
    return QByteArray::fromStdString(path.native());
}

} // namespace

RawNameSaveFile::RawNameSaveFile(const QByteArray &target) : m_target(followedLinks(target)) {}

RawNameSaveFile::~RawNameSaveFile() { discard(); }

bool RawNameSaveFile::open(OpenMode mode)
{
    if ((mode & ReadOnly) || !(mode & WriteOnly))
        return false;
    struct stat target{};
    const bool replacing = ::stat(m_target.constData(), &target) == 0;
    int fd = -1;
    // Beside the target, so that the move stays on one file system; 0666 leaves the umask to decide.
    for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
        m_written = m_target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = ::open(m_written.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        setErrorString(systemReason(errno));
        m_written.clear();
        return false;
    }
    if (replacing)
        ::fchmod(fd, target.st_mode & 07777);
    return QFile::open(fd, mode, AutoCloseHandle);
}

bool RawNameSaveFile::commit()
{
    if (m_written.isEmpty())
        return false;
    bool done = flush() && error() == NoError;
    if (done && ::fsync(handle()) != 0) {
        setErrorString(systemReason(errno));
        done = false;
    }
    const QString why = errorString();
    close();
    if (done && ::rename(m_written.constData(), m_target.constData()) != 0) {
        const int error = errno;
        discard();
        setErrorString(systemReason(error));
        return false;
    }
    if (!done) {
        discard();
        setErrorString(why);
        return false;
    }
    m_written.clear();
    return true;
}

void RawNameSaveFile::discard()
{
    if (m_written.isEmpty())
        return;
    close();
    ::unlink(m_written.constData());
    m_written.clear();
}
