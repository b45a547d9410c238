#include "ConverterRun.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace {

// Generous: a sanitizer build converting a photograph at three times its size is slow.
constexpr int runLimitMilliseconds = 120000;

} // namespace

ConverterRun runConverter(const QString &program, const QStringList &arguments, const QStringList &environment)
{
    QProcess process;
    QProcessEnvironment inherited = QProcessEnvironment::systemEnvironment();
    for (const QString &entry : environment)
        inherited.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    process.setProcessEnvironment(inherited);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);

    ConverterRun run;
    if (!process.waitForFinished(runLimitMilliseconds)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.finished = process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.standardError = process.readAllStandardError();
    return run;
}
