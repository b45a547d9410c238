#pragma once

#include <QString>
#include <QStringList>

// The kind of file a run writes, chosen by the output's extension.
enum class OutputKind { Text, RichText, Html };

// RTF for "rtf", HTML for "htm" and "html" (any case); every other name is plain text.
OutputKind outputKindOf(const QString &outputPath);

// The lines before the first row: the two RTF lines, or the font reminder when asked for.
QStringList headerLines(OutputKind kind, quint8 detail, bool fontReminder);

// One row of the picture as its line, with the characters the kind treats specially escaped. RTF
// and HTML also keep the characters Windows-1252 cannot hold, as \uN? and &#N;; plain text
// leaves them to become "?".
QString rowLine(OutputKind kind, const QString &rowText);

// The lines after the last row, ending with the generated-by line.
QStringList trailerLines(OutputKind kind);
