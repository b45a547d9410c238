#include "cli/BatchRun.h"
#include "cli/ColumnFit.h"
#include "cli/CommandLine.h"
#include "cli/KindWords.h"
#include "cli/RenderedArt.h"
#include "cli/TerminalProgress.h"
#include "cli/TerminalWindow.h"
#include "engine/decode/SourceFile.h"
#include "engine/modASCII.h"
#include "engine/RunRefusals.h"
#include "engine/text/modFile.h"
#include "engine/text/NameBytes.h"
#include "engine/text/RampFile.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QFileInfo>
#include <atomic>
#include <csignal>
#include <cstring>
#include <memory>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace {

// The signal that stops the runs, set from its handler; every run polls it at every yield, from
// whichever thread it is on, and unwinds, removing its unfinished output.
std::atomic_int stopSignal = 0;
static_assert(std::atomic_int::is_always_lock_free, "set from a signal handler");

void onStopSignal(int signal) { stopSignal = signal; }

bool stopRequested()
{
    static std::atomic_bool silenced = false;
    if (stopSignal != 0 && !silenced.exchange(true)) {
        // A decoder told to stop complains on stderr of the read refused to it; the run has
        // nothing more to say there either.
        ::dup2(::open("/dev/null", O_WRONLY), STDERR_FILENO);
    }
    return stopSignal != 0;
}

// A signal ignored on entry stays ignored: nohup, and a shell starting a background job, ignore
// some on purpose.
void catchStopSignals()
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction action = {};
        if (sigaction(signal, nullptr, &action) != 0 || action.sa_handler == SIG_IGN)
            continue;
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(signal, &action, nullptr);
    }
}

// Ends by the signal that stopped the run, with its default action, as Unix tools do: the shell
// sees the signal, and a loop around the converter stops with it.
[[noreturn]] void dieOf(int signal)
{
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    std::_Exit(128 + signal);
}

// Picture decoders report damage as warnings of their own; the run's one-line refusal says it.
void dropLibraryMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg || type == QtCriticalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// A line on stderr, names in it that are not text shown by their bytes.
void say(const QString &message) { std::fprintf(stderr, "glyphsmith-cli: %s\n", qPrintable(NameBytes::shown(message))); }

int fail(const QString &message)
{
    say(message);
    return CliExit::refused;
}

// The arguments as the bytes given: a file name need not be UTF-8.
QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << NameBytes::fromBytes(argv[i]);
    return arguments;
}

// Where the ramp list was looked for, for a user who has none: "A, B or C".
QString placesLookedIn(const RampFile::Folders &folders)
{
    QStringList places = RampFile::searched(folders);
    const QString last = places.takeLast();
    return places.isEmpty() ? last : places.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

// Drawing the art, and measuring the ink of the ramp's characters, need fonts, which need a GUI
// application; the converter opens no window, so it needs no display either.
bool drawsTheArt(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        if (std::strcmp(argv[i], "--render") == 0 || std::strncmp(argv[i], "--render=", 9) == 0)
            return true;
        if (std::strcmp(argv[i], "--tone=ink") == 0 || (std::strcmp(argv[i], "--tone") == 0 && i + 1 < argc && std::strcmp(argv[i + 1], "ink") == 0))
            return true;
    }
    return false;
}

std::unique_ptr<QCoreApplication> makeApplication(int &argc, char *argv[])
{
    std::unique_ptr<QCoreApplication> app;
    if (drawsTheArt(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("glyphsmith-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLYPHSMITH_VERSION));
    return app;
}

int convertAsAsked(int argc, char *argv[])
{
    const CliParse parse = parseCommandLine(argumentsOf(argc, argv));
    if (!parse.request) {
        std::fprintf(parse.exitCode == CliExit::success ? stdout : stderr, "%s\n", qPrintable(NameBytes::shown(parse.text)));
        return parse.exitCode;
    }
    CliRequest request = *parse.request;
    RunParameters &parameters = request.parameters;
    if (!request.rampGiven) {
        const RampFile::Folders folders = RampFile::foldersFor(QCoreApplication::applicationDirPath());
        const QString list = RampFile::pathToRead(folders);
        request.parameters.ramp = RampFile::read(list).value(0);
        if (request.parameters.ramp.isEmpty() && QFileInfo::exists(list))
            return fail(QStringLiteral("No characters to draw with: %1 has none on its first line; give them with --ramp TEXT").arg(list));
        if (request.parameters.ramp.isEmpty()) {
            return fail(QStringLiteral("No characters to draw with: Formats.TXT was not found in %1; give them with --ramp TEXT")
                            .arg(placesLookedIn(folders)));
        }
    }

    catchStopSignals();
    // A copy of the terminal's descriptor, so that the progress line is still rubbed out once
    // stderr is silenced. Art written to the same terminal would be torn apart by the line.
    const bool artOnTerminal = request.toStandardOutput && isatty(STDOUT_FILENO);
    if (artOnTerminal)
        fitToTerminal(request, terminalWindowOf(STDOUT_FILENO));
    std::FILE *terminal = !request.quiet && !artOnTerminal && isatty(STDERR_FILENO) ? fdopen(dup(STDERR_FILENO), "w") : nullptr;
    if (!request.outputDir.isEmpty()) {
        const int exitCode = runBatch(request, terminal, stopRequested);
        if (stopSignal != 0)
            dieOf(stopSignal);
        return exitCode;
    }

    if (!request.renderPath.isEmpty()) {
        if (const std::optional<RunOutcome> refusal = refusalOfSecondOutput(request.parameters.sourcePath, request.renderPath))
            return fail(refusal->messageWithCause());
    }
    const SourceFile source(parameters.sourcePath);
    if (request.columns) {
        if (const std::optional<QString> refusal = fitColumns(parameters, *request.columns, source))
            return fail(*refusal);
        if (!request.quiet && !request.columnsFromTerminal)
            say(columnsNote(parameters, *request.columns));
    }
    TerminalProgress progress(terminal, stopRequested);
    RowCollector observer(progress);

    const RunOutcome outcome = MakeASCIIPicture(source, request.parameters, observer);
    if (outcome.result == RunResult::Stopped)
        dieOf(stopSignal);
    if (!outcome.succeeded())
        return fail(outcome.messageWithCause());
    if (!request.renderPath.isEmpty() && !saveRenderedArt(request.renderPath, observer.rows(), request.parameters.detail, observer.colours(),
                                                         request.parameters.invert, request.renderScale))
        return fail(RunOutcome(RunResult::OutputNotSaved).message() + QStringLiteral(": ") + request.renderPath);

    if (request.open && !modFile::ShellOpen(request.parameters.outputPath) && !request.quiet) {
        say(request.parameters.outputPath + QStringLiteral(" was written but not opened")
            + (modFile::isSafeToOpen(request.parameters.outputPath) ? QString()
                                                                     : QStringLiteral(" (only %1 files are opened)").arg(KindWords::openedExtensions())));
    }
    return CliExit::success;
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(dropLibraryMessages);
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    const int exitCode = convertAsAsked(argc, argv);
    // Every output is committed by now; taking Qt's libraries, plugins and application object
    // down would save nothing and cost about a millisecond, a tenth of a small photo's run.
    std::fflush(nullptr);
    std::_Exit(exitCode);
}
