#pragma once

#include <QStringList>

// Writes small made-up pictures into `folder` that photographs rarely provide: every grey level side by side,
// odd sizes, graded transparency, a picture smaller than any cell,
// an icon file with two images of the largest size. Returns their paths.
QStringList writeSamplePictures(const QString &folder);
