#include "cli/BatchRun.h"

#include "cli/ColumnFit.h"
#include "cli/CommandLine.h"
#include "engine/decode/SourceFile.h"
#include "engine/modASCII.h"
#include "engine/text/NameBytes.h"

#include <QStringList>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Passes the stop on to a run; the batch shows no progress of single runs.
class StopObserver : public RunObserver
{
public:
    explicit StopObserver(const std::function<bool()> &stopRequested) : m_stopRequested(stopRequested) {}

    void progress(const ProgressUpdate &) override {}
    bool yield() override { return !m_stopRequested(); }
    void runEnded(const RunOutcome &) override {}

private:
    const std::function<bool()> &m_stopRequested;
};

// What the runs tell the user, written by the thread that keeps the progress line, so that a
// message never lands in the middle of the line.
class BatchState
{
public:
    explicit BatchState(int total) : m_total(total) {}

    void say(const QString &line)
    {
        const std::lock_guard lock(m_mutex);
        m_lines << line;
        m_changed.notify_one();
    }
    void finished(bool written)
    {
        const std::lock_guard lock(m_mutex);
        ++m_finished;
        m_refused += written ? 0 : 1;
        m_changed.notify_one();
    }
    // Waits a little for news, then writes the lines said meanwhile and redraws the progress
    // line; the last time, leaves the line rubbed out. False once every run has ended.
    bool report(std::FILE *terminal, bool last = false)
    {
        std::unique_lock lock(m_mutex);
        if (!last)
            m_changed.wait_for(lock, std::chrono::milliseconds(100), [&] { return !m_lines.isEmpty() || m_finished != m_shown; });
        const QStringList lines = std::exchange(m_lines, {});
        const bool redraw = !lines.isEmpty() || m_finished != m_shown || last;
        if (terminal && redraw)
            std::fprintf(terminal, "\r\033[K");
        for (const QString &line : lines)
            std::fprintf(terminal ? terminal : stderr, "glyphsmith-cli: %s\n", qPrintable(NameBytes::shown(line)));
        if (terminal && redraw && !last) {
            std::fprintf(terminal, "%d of %d pictures converted%s", m_finished - m_refused, m_total,
                         m_refused ? qPrintable(QStringLiteral(", %1 refused").arg(m_refused)) : "");
        }
        if (terminal)
            std::fflush(terminal);
        m_shown = m_finished;
        return m_finished < m_total;
    }

    int refused() const { return m_refused; }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    QStringList m_lines;
    const int m_total;
    int m_finished = 0;
    int m_refused = 0;
    int m_shown = -1;
};

} // namespace

int runBatch(const CliRequest &request, std::FILE *terminal, const std::function<bool()> &stopRequested)
{
    const int total = int(request.sources.size());
    std::error_code error;
    const std::filesystem::path folder = NameBytes::toPath(request.outputDir);
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
        std::fprintf(stderr, "glyphsmith-cli: %s: the output folder could not be made\n", qPrintable(NameBytes::shown(request.outputDir)));
        return CliExit::refused;
    }
    BatchState state(total);
    std::atomic_int next = 0;
    const auto convertSources = [&] {
        for (int i; (i = next++) < total && !stopRequested();) {
            RunParameters parameters = request.parameters;
            parameters.sourcePath = request.sources[i];
            parameters.outputPath = request.outputs[i];
            // --jobs says how many cores the batch keeps busy: each run keeps to one reader.
            parameters.splitRows = false;
            const SourceFile source(parameters.sourcePath);
            if (request.columns) {
                if (const std::optional<QString> refusal = fitColumns(parameters, *request.columns, source)) {
                    state.say(*refusal);
                    state.finished(false);
                    continue;
                }
                if (!request.quiet)
                    state.say(columnsNote(parameters, *request.columns));
            }
            StopObserver observer(stopRequested);
            const RunOutcome outcome = MakeASCIIPicture(source, parameters, observer);
            if (outcome.result == RunResult::Stopped)
                return;
            // The cause may name the source already, but not every refusal has one.
            if (!outcome.succeeded())
                state.say(parameters.sourcePath + QStringLiteral(": ") + outcome.messageWithCause());
            state.finished(outcome.succeeded());
        }
    };
    std::vector<std::thread> workers;
    for (int k = 0; k < std::min(request.jobs, total); ++k)
        workers.emplace_back(convertSources);
    while (state.report(terminal) && !stopRequested())
        continue;
    for (std::thread &worker : workers)
        worker.join();
    // Stopped, the batch has nothing more to say: what each run began is removed.
    if (stopRequested())
        return CliExit::refused;
    state.report(terminal, true);
    return state.refused() == 0 ? CliExit::success : CliExit::refused;
}
