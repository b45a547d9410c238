#pragma once

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

    QString statusText() const;  // the phase name, "Analysising Picture" and so on
    QString percentText() const; // "n%"; empty without a percentage
    QString caption() const;     // "Glyphsmith - n% - ..."; empty without a percentage

    bool operator==(const ProgressUpdate &) const = default;
};

// The texts a window shows once a run has ended, whatever its outcome.
namespace RunTexts {
inline constexpr QLatin1String ready{"Ready"};
inline constexpr QLatin1String complete{"100%"};
inline constexpr QLatin1String caption{"Glyphsmith"};
} // namespace RunTexts

// Receives a run's progress as it happens. A run calls yield() often (at least once per column
// of cells and per row); an observer that keeps a window alive processes events there.
class RunObserver
{
public:
    virtual ~RunObserver() = default;

    virtual void progress(const ProgressUpdate &update) = 0;
    // Rows are about to be drawn: the make button goes behind the progress bar.
    virtual void drawingBegins() {}
    // One row of characters, as assembled, before it is written; for an observer that keeps
    // the art, to draw it for instance.
    virtual void rowAssembled(const QString &rowText) { Q_UNUSED(rowText); }
    // Return false to stop the run; it then writes nothing.
    virtual bool yield() { return true; }
    // Always the last call of a run, after the output is complete or abandoned.
    virtual void runEnded(const RunOutcome &outcome) = 0;
};
