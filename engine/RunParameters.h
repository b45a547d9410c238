#pragma once

#include <QString>

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
};
