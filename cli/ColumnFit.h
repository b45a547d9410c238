#pragma once

#include "engine/RunParameters.h"

#include <QString>
#include <optional>

class SourceFile;

// Sets the size factor that makes the art of the source exactly `columns` characters wide in the
// parameters' sampling cell, for the width the header of `source`, the parameters' source opened, gives.
// The refusal, naming the source, when no factor does; a source whose header cannot be read is
// left for the run to refuse.
std::optional<QString> fitColumns(RunParameters &parameters, int columns, const SourceFile &source);

// The factor fitColumns() found, as the user would give it to --size: "photo.jpg: 100 columns
// with --size 0.14184397".
QString columnsNote(const RunParameters &parameters, int columns);
