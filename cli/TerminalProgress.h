#pragma once

#include "engine/RunObserver.h"

#include <QElapsedTimer>
#include <QString>
#include <cstdio>
#include <functional>

// Shows a run's progress as one line on a terminal, rewritten in place, and stops the run when
// `stopRequested` says so.
class TerminalProgress : public RunObserver
{
public:
    // `terminal` null shows nothing.
    TerminalProgress(std::FILE *terminal, std::function<bool()> stopRequested);

    void progress(const ProgressUpdate &update) override;
    bool yield() override;
    void runEnded(const RunOutcome &outcome) override;

private:
    std::FILE *m_terminal;
    std::function<bool()> m_stopRequested;
    QString m_shown;
    RunPhase m_shownPhase = RunPhase::Sampling;
    QElapsedTimer m_sinceShown;
};
