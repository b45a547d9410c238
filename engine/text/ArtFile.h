#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// A character-art file read back: the rows as the run assembled them, and the detail when the
// file records it (RTF always, text and HTML in their font reminder).
struct ArtFile
{
    QStringList rows;
    std::optional<quint8> detail;
};

// The art of a file this program wrote, read as the kind its extension chooses (as when
// writing); nothing for a missing file or one that is not such art.
std::optional<ArtFile> readArtFile(const QString &path);

// A detail a file records, when it is one a run could have written: 1 to 255 points.
std::optional<quint8> recordedDetail(int points);
