#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// The converter binary under test.
QString cliProgram();

// How to start the converter; the defaults start the built binary in the test's own environment.
struct CliLaunch
{
    QString program = cliProgram();
    QString workingDirectory;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString standardErrorFile; // e.g. a terminal; empty captures stderr through a pipe
};

// How one run of the converter ended.
struct CliRun
{
    bool finished = false; // false when it crashed or outlived the time limit
    int exitCode = -1;
    QByteArray standardOutput;
    QByteArray standardError;
};

// Runs the converter with `arguments` (without the program name) and waits for it to end.
CliRun runCli(const QStringList &arguments, const CliLaunch &launch = {});
