#pragma once

#include <QString>

// How a conversion ended. Every refusal leaves the output untouched (a stream may have taken
// some of the rows when writing to it failed).
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
    NotEnoughMemory,
};

struct RunOutcome
{
    RunOutcome() = default;
    RunOutcome(RunResult result, QString cause = {}) : result(result), cause(std::move(cause)) {}
    // The cause names the file it concerns: "photo.jpg: No such file".
    static RunOutcome concerning(RunResult result, const QString &path, const QString &why)
    {
        return {result, path + QStringLiteral(": ") + why};
    }

    RunResult result = RunResult::Written;
    QString cause; // what the system or the file said, for those who can act on it

    bool succeeded() const { return result == RunResult::Written; }
    // The sentence shown to the user; empty for a written file and a stopped run.
    QString message() const;
    // The sentence followed by the cause, when one is known.
    QString messageWithCause() const;
};
