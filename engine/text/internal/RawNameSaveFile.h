#pragma once

#include <QByteArray>
#include <QFile>

// A file written beside its target and moved over it only by commit(), for a target whose name
// Qt cannot hold because its bytes are not UTF-8 (QSaveFile does this for every other name). The
// target's permissions are kept; a new file gets those the umask leaves of read and write for all.
// A target that is a symbolic link stays one: the file it leads to is replaced. Destroyed
// uncommitted, the file written is removed and the target left as it was.
class RawNameSaveFile : public QFile
{
public:
    explicit RawNameSaveFile(const QByteArray &target);
    ~RawNameSaveFile() override;

    // Writing only.
    bool open(OpenMode mode) override;
    // False, leaving the target as it was, when any write failed or the file cannot be moved.
    bool commit();

private:
    void discard();

    QByteArray m_target;
    QByteArray m_written; // the name of the file written, until it is moved or removed
};
