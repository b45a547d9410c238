#pragma once

#include <QString>
#include <QStringList>

// The ramp list file: one ramp a line, in the 8-bit code page, lines ended by CR LF when written.
namespace RampFile {

inline constexpr QLatin1String fileName{"Formats.TXT"};

// The list file in `programFolder`.
QString pathIn(const QString &programFolder);

// The folders the list may live in.
struct Folders
{
    QString program;       // beside the program: the build tree, a portable copy, Windows
    QString user;          // the user's own copy, glyphsmith/ under the XDG data home
    QStringList installed; // glyphsmith/ under each XDG data dir, in their order
    QString prefix;        // ../share/glyphsmith from the program's folder: an install under any prefix
};

// This system's folders for a program that lives in `programFolder`.
Folders foldersFor(const QString &programFolder);
// The list to read: the first that exists of the program's copy, the user's, the installed ones
// and the one of the program's prefix; the program's path when none exists.
QString pathToRead(const Folders &folders);
// Every folder the list is looked for in, in that order, each once.
QStringList searched(const Folders &folders);
// Where the list is saved: beside the program when that folder can be written, otherwise the
// user's own copy, its folder made when needed.
QString pathToWrite(const Folders &folders);

// The ramps of `contents`: CR LF, a lone CR or a lone LF ends a line (a ramp never holds a line
// break, and Linux editors end lines with LF); a final line end adds no entry; no text at all
// gives one empty entry.
QStringList parse(QByteArrayView contents);

// The ramps of the file at `path`; one empty entry when it is missing or unreadable.
QStringList read(const QString &path);

// Replaces the file with `ramps`, each followed by CR LF; the old file stays whole on failure.
bool write(const QString &path, const QStringList &ramps);

} // namespace RampFile
