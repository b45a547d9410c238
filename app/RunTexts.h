#pragma once

#include "engine/RunObserver.h"

#include <QString>

// What the main window shows of a run: the phase in the status bar, the percentage beside it and
// in the caption, and the texts it shows once the run has ended, whatever its outcome.
namespace RunTexts {

inline constexpr QLatin1String ready{"Ready"};
inline constexpr QLatin1String complete{"100%"};

QString phaseName(RunPhase phase);              // "Analysising Picture" and so on
QString percent(const ProgressUpdate &update);  // "n%"; empty without a percentage
QString caption(const ProgressUpdate &update);  // "Glyphsmith - n% - ..."; empty without a percentage

} // namespace RunTexts
