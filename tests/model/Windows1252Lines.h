#pragma once

#include <QByteArray>
#include <QStringList>

// Each line in Windows-1252 followed by CR LF. A character the code page cannot hold becomes one "?",
// a surrogate pair included.
QByteArray windows1252Lines(const QStringList &lines);
