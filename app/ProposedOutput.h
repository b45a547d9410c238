#pragma once

#include <QString>

// The output proposed for a picture: its path with ".txt" in place of the file name's own
// extension, or with ".txt" added when the name has none ("/home/a.b/cat" -> "/home/a.b/cat.txt").
QString proposedOutputPath(const QString &sourcePath);
