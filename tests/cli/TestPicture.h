#pragma once

#include <QString>

class QSize;

// Writes a picture white on its left half and black on its right half (the middle column goes to
// the black side on odd widths), in the format the extension of `path` names.
bool writeHalvesPicture(const QString &path, const QSize &size);

// Writes a picture that darkens from left to right, so every cell row holds several tones.
bool writeGradientPicture(const QString &path, const QSize &size);
