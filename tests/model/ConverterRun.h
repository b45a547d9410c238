#pragma once

#include <QByteArray>
#include <QStringList>

// What one run of the command-line converter left behind.
struct ConverterRun
{
    bool finished = false; // false when it could not start or had to be killed
    int exitCode = -1;
    QByteArray standardError;
};

// Runs `program` with `arguments`; `environment` entries ("NAME=value") are added to the inherited ones.
ConverterRun runConverter(const QString &program, const QStringList &arguments, const QStringList &environment = {});
