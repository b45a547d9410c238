#include "CommandLine.h"
#include "RampFile.h"
#include "TerminalProgress.h"
#include "modASCII.h"
#include "modFile.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

// Set from the signal handler; the run polls it at every yield and then discards its output.
volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) { interrupted = 1; }

// Picture decoders report damage as warnings of their own; the run's one-line refusal says it.
void dropLibraryMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg || type == QtCriticalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

int fail(const QString &message)
{
    std::fprintf(stderr, "glyphsmith-cli: %s\n", qPrintable(message));
    return CliExit::refused;
}

QString shippedRamp()
{
    return RampFile::read(RampFile::pathToRead(RampFile::foldersFor(QCoreApplication::applicationDirPath()))).value(0);
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(dropLibraryMessages);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("glyphsmith-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLYPHSMITH_VERSION));

    const CliParse parse = parseCommandLine(QCoreApplication::arguments());
    if (!parse.request) {
        std::fprintf(parse.exitCode == CliExit::success ? stdout : stderr, "%s\n", qPrintable(parse.text));
        return parse.exitCode;
    }
    CliRequest request = *parse.request;
    if (!request.rampGiven)
        request.parameters.ramp = shippedRamp();

    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    std::FILE *terminal = !request.quiet && isatty(STDERR_FILENO) ? stderr : nullptr;
    TerminalProgress observer(terminal, [] { return interrupted != 0; });

    const RunOutcome outcome = MakeASCIIPicture(request.parameters, observer);
    if (outcome.result == RunResult::Stopped)
        return CliExit::stopped;
    if (!outcome.succeeded())
        return fail(outcome.message());

    if (request.open && !modFile::ShellOpen(request.parameters.outputPath) && !request.quiet) {
        std::fprintf(stderr, "glyphsmith-cli: %s was written but not opened%s\n", qPrintable(request.parameters.outputPath),
                     modFile::isSafeToOpen(request.parameters.outputPath) ? "" : " (only .txt, .rtf, .htm and .html files are opened)");
    }
    return CliExit::success;
}
