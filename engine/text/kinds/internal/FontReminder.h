#pragma once

#include <QStringList>
#include <optional>

// The friendly reminder that may head a text or HTML file: the font and size that show the art
// true, and a test line for another font.
namespace FontReminder {

// The reminder's seven lines, for `detail` points.
QStringList lines(quint8 detail);

// Takes a reminder off the head of `lines`, if one is there; the detail it names, when it is one
// a run could have written.
std::optional<quint8> strip(QStringList &lines);

} // namespace FontReminder
