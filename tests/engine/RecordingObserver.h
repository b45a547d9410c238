#pragma once

#include "RunObserver.h"
#include "RunOutcome.h"

#include <QList>
#include <functional>
#include <optional>

// Keeps every call a run makes, and can ask the run to stop at a given yield.
class RecordingObserver : public RunObserver
{
public:
    QList<ProgressUpdate> updates;
    int drawingBeganAfter = -1; // how many updates came before drawingBegins()
    int yields = 0;
    std::function<bool(const RecordingObserver &)> stopWhen; // asked at every yield
    std::optional<RunOutcome> ended;
    int callsAfterEnd = 0;

    void progress(const ProgressUpdate &update) override
    {
        callsAfterEnd += ended ? 1 : 0;
        updates << update;
    }
    void drawingBegins() override { drawingBeganAfter = int(updates.size()); }
    bool yield() override
    {
        callsAfterEnd += ended ? 1 : 0;
        ++yields;
        return !stopWhen || !stopWhen(*this);
    }
    void runEnded(const RunOutcome &outcome) override
    {
        callsAfterEnd += ended ? 1 : 0;
        ended = outcome;
    }

    QList<ProgressUpdate> updatesOf(RunPhase phase) const
    {
        QList<ProgressUpdate> found;
        for (const ProgressUpdate &u : updates)
            if (u.phase == phase)
                found << u;
        return found;
    }
};
