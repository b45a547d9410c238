#include "app/RunTexts.h"

#include "app/ProductInfo.h"

namespace {

// The caption names the greying phase apart, though the status bar shows it as analysis too.
QString captionSuffix(RunPhase phase)
{
    switch (phase) {
    case RunPhase::Resizing:
        return QStringLiteral("% - Resizing Picture");
    case RunPhase::Sampling:
        return QStringLiteral("% - Analysising Picture");
    case RunPhase::Greying:
        return QStringLiteral("% - Checking Picture");
    case RunPhase::Drawing:
        return QStringLiteral("% - Creating Picture");
    }
    return {};
}

} // namespace

namespace RunTexts {

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

QString percent(const ProgressUpdate &update)
{
    return update.percent ? QString::number(*update.percent) + u'%' : QString();
}

QString caption(const ProgressUpdate &update)
{
    return update.percent ? ProductInfo::name + QStringLiteral(" - ") + QString::number(*update.percent) + captionSuffix(update.phase)
                          : QString();
}

} // namespace RunTexts
