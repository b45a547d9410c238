#pragma once

#include "engine/StopToken.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// A picture file opened once, for one run or one preview: its bytes, who it is on the file system
// as of that one open, and the stop request of the work on it (see engine/StopToken.h). Every
// reader of the picture reads these bytes, so all of them see the same file, however its name is
// reused meanwhile. Something other than a regular file is refused before it is opened: a FIFO
// would block the open for ever.
class SourceFile
{
public:
    // Device, inode, size and time of the last change, as the open file gave them.
    struct Identity
    {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 changedSeconds = 0;
        qint64 changedNanoseconds = 0;
    };

    // Opens `path`, a name as NameBytes holds one, so that a name whose bytes are not UTF-8 opens
    // its own file; a file that cannot be opened gives isOpen() false and says why in problem().
    // `stop` is the stop source of the work, shared with whoever may want to end it.
    explicit SourceFile(const QString &path, StopSource stop = {});
    ~SourceFile();
    SourceFile(const SourceFile &) = delete;
    SourceFile &operator=(const SourceFile &) = delete;

    const QString &path() const { return m_path; }
    bool isOpen() const { return m_problem.isEmpty(); }
    // "No such file", "not a regular file" or the system's reason; empty once open.
    const QString &problem() const { return m_problem; }
    // The whole file; empty when it is not open.
    QByteArrayView bytes() const { return {m_data, m_size}; }
    const Identity &identity() const { return m_identity; }
    // Whether `path` names the very file opened, now: its device and inode.
    bool isNamedBy(const QString &path) const;
    // The open file itself, for Qt's readers, which read a file through a device; -1 when not open.
    int descriptor() const { return m_fd; }

    // Asks every reader of the file, on whichever thread, to stop; returns at once.
    void requestStop() const { m_stop.request_stop(); }
    bool stopRequested() const { return m_stop.stop_requested(); }
    StopToken stopToken() const { return m_stop.get_token(); }

private:
    QString open(); // the problem, empty once open
    bool readWhole(qint64 size); // for a file that cannot be mapped

    QString m_path;
    QString m_problem;
    int m_fd = -1;
    const char *m_data = nullptr;
    qsizetype m_size = 0;
    bool m_mapped = false;
    QByteArray m_read; // the bytes, where the file could not be mapped
    Identity m_identity;
    mutable StopSource m_stop; // a request changes no byte of the file
};
