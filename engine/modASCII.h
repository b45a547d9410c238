#pragma once

#include "engine/RunObserver.h"
#include "engine/RunOutcome.h"
#include "engine/RunParameters.h"

class SourceFile;

// Turns one picture into one character-art file, reporting progress to `observer` and ending
// with its runEnded(). The file is written to a temporary file beside the output and moved over
// it only when complete, so a refused, failed or stopped run leaves any existing output as it was.
RunOutcome MakeASCIIPicture(const RunParameters &parameters, RunObserver &observer);
// The same with the source opened already, as `source`, from parameters.sourcePath; a stop
// requested on it ends the run as a stop. A source is good for one run.
RunOutcome MakeASCIIPicture(const SourceFile &source, const RunParameters &parameters, RunObserver &observer);
