#include "engine/RunOutcome.h"

QString RunOutcome::message() const
{
    switch (result) {
    case RunResult::Written:
    case RunResult::Stopped:
        return {};
    case RunResult::SourceNotLoaded:
        return QStringLiteral("The Source Picture Could Not Be Loaded");
    case RunResult::OutputIsSource:
        return QStringLiteral("The ASCII Picture Cannot Replace The Source Picture");
    case RunResult::OutputNotSaved:
        return QStringLiteral("The ASCII Picture Could Not Be Saved");
    case RunResult::PictureTooSmall:
        return QStringLiteral("The Picture Is Smaller Than One Character At This Size And Detail");
    case RunResult::PictureTooLarge:
        return QStringLiteral("The Picture Is Too Large At This Size (32767 Pixels Per Side At Most)");
    case RunResult::EmptyRamp:
        return QStringLiteral("Select The Characters For Your ASCII Art First");
    case RunResult::NoDetail:
        return QStringLiteral("Choose A Detail Of At Least 1");
    case RunResult::NotEnoughMemory:
        return QStringLiteral("There Is Not Enough Memory For This Picture At This Size");
    }
    return {};
}

QString RunOutcome::messageWithCause() const { return cause.isEmpty() ? message() : message() + QStringLiteral(": ") + cause; }
