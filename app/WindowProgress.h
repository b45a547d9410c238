#pragma once

#include "engine/RunObserver.h"

#include <QString>
#include <functional>
#include <optional>

class OptionCheckBox;
class Platform;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

// The parts of a window that show a run.
struct RunDisplay
{
    QWidget *window = nullptr;        // its caption
    QLabel *statusPanel = nullptr;    // the phase
    QLabel *percentPanel = nullptr;   // the percentage
    QProgressBar *progress = nullptr; // shown over the make button while rows are drawn
    QPushButton *make = nullptr;
    OptionCheckBox *openWhenDone = nullptr;
};

// Shows a run in the main window and keeps the window painting: pending events are processed
// at most every `eventInterval` of the platform's clock. The run stops at the first yield after
// `stopRequested` turns true. The finished file is opened when `openWhenDone` is checked, the
// run succeeded, no stop was asked for and the file is of a kind safe to open.
class WindowProgress : public RunObserver
{
public:
    static constexpr qint64 eventIntervalMs = 15;

    WindowProgress(const RunDisplay &display, const QString &outputPath, Platform &platform, std::function<bool()> stopRequested);

    void progress(const ProgressUpdate &update) override;
    void drawingBegins() override;
    bool yield() override;
    void runEnded(const RunOutcome &outcome) override;

private:
    RunDisplay m_display;
    QString m_outputPath;
    Platform &m_platform;
    std::function<bool()> m_stopRequested;
    std::optional<qint64> m_lastEventsMs;
};
