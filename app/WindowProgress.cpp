#include "app/WindowProgress.h"

#include "app/OptionCheckBox.h"
#include "app/Platform.h"
#include "app/ProductInfo.h"
#include "app/RunTexts.h"
#include "engine/RunOutcome.h"
#include "engine/text/modFile.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

WindowProgress::WindowProgress(const RunDisplay &display, const QString &outputPath, Platform &platform,
                               std::function<bool()> stopRequested)
    : m_display(display), m_outputPath(outputPath), m_platform(platform), m_stopRequested(std::move(stopRequested))
{
}

void WindowProgress::progress(const ProgressUpdate &update)
{
    m_display.statusPanel->setText(RunTexts::phaseName(update.phase));
    if (update.percent) {
        m_display.percentPanel->setText(RunTexts::percent(update));
        m_display.window->setWindowTitle(RunTexts::caption(update));
    }
    if (update.phase != RunPhase::Drawing)
        return;
    m_display.progress->show();
    m_display.make->hide();
    if (update.percent)
        m_display.progress->setValue(*update.percent);
}

void WindowProgress::drawingBegins() { m_display.make->lower(); }

bool WindowProgress::yield()
{
    if (m_stopRequested())
        return false;
    const qint64 now = m_platform.clockMs();
    if (m_lastEventsMs && now - *m_lastEventsMs < eventIntervalMs)
        return true;
    m_lastEventsMs = now;
    QCoreApplication::processEvents();
    return !m_stopRequested();
}

void WindowProgress::runEnded(const RunOutcome &outcome)
{
    m_display.statusPanel->setText(RunTexts::ready);
    m_display.percentPanel->setText(RunTexts::complete);
    m_display.window->setWindowTitle(ProductInfo::name);
    if (outcome.succeeded() && !m_stopRequested() && m_display.openWhenDone->value() == 1 && modFile::isSafeToOpen(m_outputPath))
        m_platform.openFile(m_outputPath);
    m_display.make->raise();
    m_display.progress->hide();
    m_display.make->show();
}
