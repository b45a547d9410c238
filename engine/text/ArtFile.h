#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// A character-art file read back: the rows as the run assembled them, and the detail when the
// file records it (RTF and pages always, text and HTML in their font reminder).
struct ArtFile
{
    QStringList rows;
    std::optional<quint8> detail;
};

// The art of a file this program wrote, read as a kind whose files have its extension (the one
// its extension chooses when writing, or a page for an HTML name), in UTF-8 when its bytes are
// UTF-8 and in Windows-1252 otherwise; nothing for a missing file or one that is not such art.
std::optional<ArtFile> readArtFile(const QString &path);

// A detail a file records, when it is one a run could have written: 1 to 255 points.
std::optional<quint8> recordedDetail(int points);
