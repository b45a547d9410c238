#pragma once

#include "PixelArray.h"

#include <optional>

class QString;

// Reads a picture file into 8-bit colours over white, upright as its EXIF orientation says.
// Icon and cursor files give their largest image, GIFs their first frame. Empty when the file
// is missing, cannot be decoded or stops short of its own end.
std::optional<PixelArray> readPictureFile(const QString &path);
