#pragma once

#include "engine/cells/ArtColours.h"
#include "engine/cells/CellMetrics.h"
#include "engine/text/LineFormat.h"

#include <QString>
#include <optional>

class OutputKind;

// How the cells' tones become characters. The grey bands split 0 ... 255 into as many equal
// bands as the ramp has characters, the darkest band taking its last. The ink measures how much
// of its cell each character inks and gives each cell the character whose shade looks closest
// to the photo over it, as the eye sees both from a distance.
enum class ToneMapping { bands, ink };

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
    ToneMapping tone = ToneMapping::bands;
    // Light text on a dark ground: the bands take the ramp from dark to light, the ink its
    // shades as light ink on black.
    bool invert = false;
    // The ink's own: the photo's range of lightness stretched to the ramp's (levels), and what a
    // cell's character misses carried on to its neighbours (diffusion).
    bool levels = true;
    bool diffusion = true;
    // Art in colour, at this depth and in this look, where the kind writes colour; plain text
    // bound for a terminal takes it as escape sequences. Nothing more is measured without it.
    ColourDepth colour = ColourDepth::none;
    ColourLook colourLook = ColourLook::characters;
};

// The cell the run cuts the picture into.
inline CellSize samplingCellOf(const RunParameters &parameters)
{
    return parameters.samplingCell.value_or(cellSizeFor(parameters.detail));
}
