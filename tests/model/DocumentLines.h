#pragma once

#include "OutputKind.h"

#include <QStringList>
#include <QtGlobal>

// Every line of the finished file, without line ends: header, one line per row of characters
// (top row first, escaped as the kind needs), trailer. The reminder is never written into rich text.
QStringList documentLines(OutputKind kind, quint8 detail, bool reminder, const QStringList &rows);
