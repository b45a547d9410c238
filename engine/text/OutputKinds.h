#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class OutputKind;

// Every kind a run can write, in the order the converter names them; the first is the default.
QList<const OutputKind *> outputKinds();

// The kind an output's extension chooses, in any letter case; the default kind for any other name.
const OutputKind &outputKindOf(const QString &outputPath);

// The kinds a file of this name may hold, in table order: those whose files have its extension,
// else the default kind.
QList<const OutputKind *> kindsReading(const QString &path);

// The kind of a --format name; null when no kind has it.
const OutputKind *outputKindNamed(const QString &formatName);

// Every extension of a kind, in lower case and table order: those that choose it and the one the
// converter gives it.
QStringList kindExtensions();
