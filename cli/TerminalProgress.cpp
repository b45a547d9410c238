#include "cli/TerminalProgress.h"

namespace {

// Redrawing a terminal line more often than this only costs time.
constexpr qint64 redrawIntervalMs = 50;

// The window's words for the phases, so that both tell a run alike.
QString phaseName(RunPhase phase)
{
    switch (phase) {
    case RunPhase::Resizing:
        return QStringLiteral("Resizing Picture");
    case RunPhase::Sampling:
    case RunPhase::Greying:
        return QStringLiteral("Analysising Picture");
    case RunPhase::Drawing:
        return QStringLiteral("Drawing ASCII Picture");
    }
    return {};
}

} // namespace

TerminalProgress::TerminalProgress(std::FILE *terminal, std::function<bool()> stopRequested)
    : m_terminal(terminal), m_stopRequested(std::move(stopRequested))
{
    m_sinceShown.start();
}

void TerminalProgress::progress(const ProgressUpdate &update)
{
    if (!m_terminal || !update.percent)
        return;
    const QString line = phaseName(update.phase) + u' ' + QString::number(*update.percent) + u'%';
    if (line == m_shown || (update.phase == m_shownPhase && m_sinceShown.elapsed() < redrawIntervalMs))
        return;
    m_shown = line;
    m_shownPhase = update.phase;
    m_sinceShown.restart();
    std::fprintf(m_terminal, "\r\033[K%s", qPrintable(line));
    std::fflush(m_terminal);
}

bool TerminalProgress::yield() { return !m_stopRequested || !m_stopRequested(); }

void TerminalProgress::runEnded(const RunOutcome &)
{
    if (!m_terminal || m_shown.isEmpty())
        return;
    std::fprintf(m_terminal, "\r\033[K");
    std::fflush(m_terminal);
}
