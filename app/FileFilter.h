#pragma once

#include <QString>

// Turns a filter written as "Description|*.a;*.b|Description|*.*" into Qt's
// "Description (*.a *.b);;Description (*)". "*.*" becomes "*" so that names without a dot are
// listed too; a description's own "(...)" is replaced by the patterns; a description without
// patterns is dropped.
QString qtFileFilter(const QString &barSeparated);
