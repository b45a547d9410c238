#pragma once

#include "engine/cells/CellMetrics.h"
#include "engine/RunOutcome.h"
#include "engine/RunParameters.h"

#include <QSize>
#include <optional>

class SourceFile;

// Why a run cannot succeed, found before anything large is allocated: the parameters, the
// source's header, the output's folder. Nothing when the run may go ahead. `source` is the
// parameters' source, opened.
std::optional<RunOutcome> refusalBeforeLoading(const RunParameters &parameters, CellSize cell, const SourceFile &source);

// Why a picture of this size cannot be cut into cells at this size factor: no whole cell, or a
// side over 32767 pixels before or after scaling.
std::optional<RunResult> refusalOfGeometry(QSize picture, float sizeFactor, CellSize cell);

// Why a second file written beside the output (the art drawn as a picture) cannot be: it is the
// source, a stream or a special file, or its folder is missing or closed. Nothing when it can.
std::optional<RunOutcome> refusalOfSecondOutput(const QString &sourcePath, const QString &path);
