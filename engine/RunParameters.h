#pragma once

#include "engine/cells/CellMetrics.h"
#include "engine/text/LineFormat.h"

#include <QString>
#include <optional>

class OutputKind;

// What one conversion is asked to do.
struct RunParameters
{
    QString sourcePath;
    QString outputPath;
    QString ramp;             // characters from the lightest to the darkest
    float sizeFactor = 1.0f;  // 1 unscaled; below 0 also unscaled
    quint8 detail = 10;       // points of the output font, which fix the cell size
    bool fontReminder = true; // never written into an RTF file
    const OutputKind *outputKind = nullptr; // a kind of the kind table; otherwise chosen by the output's extension
    // A picture's lower rows may be read by a second reader on a thread of its own. Off where the
    // cores have conversions of their own already: a second JPEG decoder's skimming is extra work.
    bool splitRows = true;
    // The bytes decoding the picture may take; otherwise MemoryBudget::standard().
    std::optional<qint64> memoryBudget = std::nullopt;
    TextEncoding encoding = TextEncoding::Windows1252; // of text; kinds with a code page of their own keep it
    // The cell the picture is cut into, in pixels, for a display whose cells are not the
    // detail's (a terminal's); the text still names the detail's point size.
    std::optional<CellSize> samplingCell = std::nullopt;
    bool rowsOnly = false; // the rows alone, each ended by LF, as a terminal shows them
};

// The cell the run cuts the picture into.
inline CellSize samplingCellOf(const RunParameters &parameters)
{
    return parameters.samplingCell.value_or(cellSizeFor(parameters.detail));
}
