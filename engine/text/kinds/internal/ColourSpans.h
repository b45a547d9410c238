#pragma once

#include "engine/cells/ArtColours.h"

#include <QString>
#include <optional>
#include <span>
#include <vector>

// Rows of HTML in colour: each run of one colour in a span of its own.
namespace ColourSpans {

// The row's characters in runs of one colour, each run's text made HTML by `escape`.
QString row(const QString &rowText, std::span<const modColour::Colour> colours, const ArtColours &art, QString (*escape)(QStringView));

// "#rrggbb".
QString hex(modColour::Colour colour);

// A row written by row(): its text, unescaped, and each character's cell colour (the ground of a
// filled cell); nothing when it is not such a row.
struct Read
{
    QString text;
    std::vector<modColour::Colour> colours;
    bool filled = false;
};
std::optional<Read> read(const QString &line, QString (*unescape)(const QString &));

} // namespace ColourSpans
