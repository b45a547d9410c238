#pragma once

#include "engine/cells/ArtColours.h"

#include <QString>
#include <optional>

struct RunOutcome;

enum class RunPhase { Resizing, Sampling, Greying, Drawing };

// One progress report of a run: the phase and its percentage, if the percentage has a value
// (a picture of a single row of cells has none while it is drawn).
struct ProgressUpdate
{
    RunPhase phase = RunPhase::Sampling;
    std::optional<int> percent;

    bool operator==(const ProgressUpdate &) const = default;
};

// Receives a run's progress as it happens. A run calls yield() often (at least once per column
// of cells and per row), so an observer with events to answer can answer them there.
class RunObserver
{
public:
    virtual ~RunObserver() = default;

    virtual void progress(const ProgressUpdate &update) = 0;
    // The first row is about to be assembled; the drawing reports follow, one a row.
    virtual void drawingBegins() {}
    // One row of characters, as assembled, before it is written; for an observer that keeps
    // the art, to draw it for instance.
    virtual void rowAssembled(const QString &rowText) { Q_UNUSED(rowText); }
    // For art in colour, before the first row: the colours of its cells, one a character.
    virtual void coloursMeasured(const ArtColours &colours) { Q_UNUSED(colours); }
    // Return false to stop the run; it then writes nothing.
    virtual bool yield() { return true; }
    // Always the last call of a run, after the output is complete or abandoned.
    virtual void runEnded(const RunOutcome &outcome) = 0;
};
