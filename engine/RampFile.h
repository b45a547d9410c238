#pragma once

#include <QString>
#include <QStringList>

// The ramp list file: one ramp a line, in the 8-bit code page, lines ended by CR LF when written.
namespace RampFile {

inline constexpr QLatin1String fileName{"Formats.TXT"};

// The list file in `programFolder`.
QString pathIn(const QString &programFolder);

// The ramps of `contents`: CR LF, a lone CR or a lone LF ends a line (a ramp never holds a line
// break, and Linux editors end lines with LF); a final line end adds no entry; no text at all
// gives one empty entry.
QStringList parse(QByteArrayView contents);

// The ramps of the file at `path`; one empty entry when it is missing or unreadable.
QStringList read(const QString &path);

// Replaces the file with `ramps`, each followed by CR LF; the old file stays whole on failure.
bool write(const QString &path, const QStringList &ramps);

} // namespace RampFile
