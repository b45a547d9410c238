#pragma once

#include <QString>

// How a conversion ended. Every refusal leaves the output untouched.
enum class RunResult {
    Written,
    Stopped,
    SourceNotLoaded,
    OutputIsSource,
    OutputNotSaved,
    PictureTooSmall,
    PictureTooLarge,
    EmptyRamp,
    NoDetail,
};

struct RunOutcome
{
    RunResult result = RunResult::Written;

    bool succeeded() const { return result == RunResult::Written; }
    // The sentence shown to the user; empty for a written file and a stopped run.
    QString message() const;
};
