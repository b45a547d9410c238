#include "CliProcess.h"

#include <QProcess>

namespace {
// Generous for a sanitizer build on a busy machine; the pictures of these tests take well under a second.
constexpr int timeLimitMs = 60000;
} // namespace

QString cliProgram() { return QStringLiteral(GLYPHSMITH_CLI); }

CliRun runCli(const QStringList &arguments, const CliLaunch &launch)
{
    QProcess process;
    process.setProgram(launch.program);
    process.setArguments(arguments);
    process.setProcessEnvironment(launch.environment);
    if (!launch.workingDirectory.isEmpty())
        process.setWorkingDirectory(launch.workingDirectory);
    if (!launch.standardErrorFile.isEmpty())
        process.setStandardErrorFile(launch.standardErrorFile);
    process.start();
    CliRun run;
    if (!process.waitForFinished(timeLimitMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.finished = process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.standardOutput = process.readAllStandardOutput();
    run.standardError = process.readAllStandardError();
    return run;
}
