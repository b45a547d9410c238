#pragma once

#include "engine/RunParameters.h"

#include <QString>
#include <QStringList>
#include <optional>

// What the command line asks for.
struct CliRequest
{
    RunParameters parameters;
    bool rampGiven = false; // otherwise the first ramp of the shipped list is used
    bool open = false;
    bool quiet = false;
    QString renderPath; // also draw the art as a PNG picture there, when not empty
    int renderScale = 1; // pixels of that picture a side per pixel of the cell
    bool toStandardOutput = false; // OUTPUT was "-"
    std::optional<int> columns;    // the size factor is found for this many columns of each source
    bool columnsFromTerminal = false; // the columns are the terminal's width, not the user's
    bool sizeGiven = false;
    bool encodingGiven = false;    // otherwise text on a terminal is in the locale's code page
    bool colourAuto = true;        // the art on a terminal is in the colour it says it shows
    // Several sources, each written into the folder as its name without extension plus the
    // kind's, when the folder is not empty; the parameters' own paths are then unused.
    QString outputDir;
    QStringList sources;
    QStringList outputs;
    int jobs = 1; // runs at a time
};

// The outcome of reading the arguments: a request, or text to print and the exit code to leave with.
struct CliParse
{
    std::optional<CliRequest> request;
    QString text;     // help or version on stdout, a usage error on stderr
    int exitCode = 0;
};

namespace CliExit {
inline constexpr int success = 0;
inline constexpr int refused = 1; // the run was refused or failed; nothing was written
inline constexpr int usage = 2;   // the arguments were wrong; nothing was read or written
} // namespace CliExit

// `arguments` includes the program name first, each read from its bytes as NameBytes reads a name:
// SOURCE, OUTPUT and DIR are the files of exactly those bytes, the others must be text.
CliParse parseCommandLine(const QStringList &arguments);
