#include "engine/RunObserver.h"

namespace {

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

QString ProgressUpdate::statusText() const { return phaseName(phase); }

QString ProgressUpdate::percentText() const
{
    return percent ? QString::number(*percent) + u'%' : QString();
}

QString ProgressUpdate::caption() const
{
    return percent ? QStringLiteral("Glyphsmith - ") + QString::number(*percent) + captionSuffix(phase) : QString();
}
